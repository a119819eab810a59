// Packing a large project, and a group of ten projects, against copying the same files with cp, in the
// same run and on the same disk: with the page cache warm, and cold where the machine lets the cache be
// dropped.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/pack_project_generator.h"
#include "bench/run_command.h"
#include "cli/commands.h"
#include "cli/memory_tree_view.h"
#include "group/pack_group.h"
#include "pack/mdl_file_pack.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_folder_maker.h"
#include "platform/posix/posix_text_files.h"
#include "project/mdl_file.h"

namespace {

namespace fs = std::filesystem;

struct Quiet : platform::MousePointer, platform::MessageBox, platform::MenuCommand {
  void Set(int32_t) override {}
  void Show(const std::string& text, int32_t, const std::string&) override { shown = text; }
  void SetEnabled(bool) override {}
  std::string shown;
};

// TARVEX_BENCH_DIR puts the files on another file system (a tmpfs shows the cost without the disk's).
fs::path Root() {
  const char* dir = std::getenv("TARVEX_BENCH_DIR");
  return (dir && *dir ? fs::path(dir) : fs::temp_directory_path()) / "tarvex-pack-bench";
}

const fs::path kRoot = Root();

bench::PackProjectOnDisk& Project() {
  static bench::PackProjectOnDisk project =
      bench::WritePackProject(kRoot / "src", static_cast<int>(3000 * bench::PackBenchScale()));
  return project;
}

bench::PackGroupOnDisk& Group() {
  static bench::PackGroupOnDisk group =
      bench::WritePackGroup(kRoot / "group", 10, static_cast<int>(3000 * bench::PackBenchScale()));
  return group;
}

// Every time measured, by benchmark name, to print ranges and ratios after the table.
std::map<std::string, std::vector<double>>& Times() {
  static std::map<std::string, std::vector<double>> times;
  return times;
}

// Why the page cache could not be dropped, or empty when it could.
std::string& ColdRefusal() {
  static std::string refusal;
  return refusal;
}

enum class Cache { kWarm, kCold };

// A new empty target folder with nothing of the last run still being written out; for a cold run
// the page cache is dropped too, so that the sources are read from the disk. Earlier targets are
// removed only at the end: ext4 creates files slowly for a while where thousands were just deleted,
// which would fall on whichever run came next.
bool FreshTarget(benchmark::State& state, Cache cache, fs::path& target) {
  static int runs = 0;
  target = kRoot / ("out" + std::to_string(++runs));
  fs::create_directories(target);
  ::sync();
  if (cache == Cache::kWarm) return true;
  std::ofstream drop("/proc/sys/vm/drop_caches");
  if (drop << "3" << std::flush) return true;
  ColdRefusal() = std::string("writing /proc/sys/vm/drop_caches failed: ") + std::strerror(errno);
  state.SkipWithError(ColdRefusal().c_str());
  return false;
}

// One cp of the files into target; its time, or a negative value when cp failed.
double CpOnce(const std::vector<fs::path>& files, const fs::path& target) {
  std::vector<std::string> words = {"cp", "--"};
  for (const auto& file : files) words.push_back(file.string());
  words.push_back(target.string() + "/");
  return bench::RunCommand(words);
}

std::string WindowsTarget(const fs::path& target, const char* name = "Big.vbp") {
  std::string path = (target / name).string();
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

enum class Steps { kPackOnly, kReadAndPack, kPackNamedTemporaries, kPackOneAtATime };

const char* const kStepNames[] = {"pack", "read and pack", "pack named", "pack one at a time"};

// One pack into target; its time, or a negative value when it failed. kReadAndPack is what
// "tarvex-cli pack" does: read the project from its files, then pack it.
double PackOnce(Steps steps, const fs::path& target, std::string& error) {
  const auto& project = Project();
  const auto codePage = posix::MakeCodePage(1252);
  posix::PosixPackFiles files(*codePage);
  if (steps == Steps::kPackNamedTemporaries) files.UseNamedTemporaryFiles();
  Quiet ui;
  mdlFile::PackContext context{files, ui, ui};
  // As tarvex-cli packs; one at a time, as the window packs.
  context.copyThreads = steps == Steps::kPackOneAtATime ? 0 : cli::kPackCopyThreads;
  const auto start = std::chrono::steady_clock::now();
  const mdlFile::ProjectModel* model = &project.model;
  if (steps == Steps::kReadAndPack) {
    posix::PosixTextFiles text(*codePage);
    cli::MemoryTreeView tree;
    if (!mdlFile::ReadProject(project.model.filePath, mdlFile::ReaderContext{text, ui, ui, tree, ui})) {
      error = "the read failed";
      return -1;
    }
    model = &mdlFile::Model();
  }
  if (!mdlFile::PackProject(*model, WindowsTarget(target), context)) {
    error = "the pack failed";
    return -1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  // The read must find what the model says, or the two would not copy the same files.
  if (steps == Steps::kReadAndPack &&
      !std::equal(project.model.components.begin(), project.model.components.end(),
                  mdlFile::Model().components.begin(), mdlFile::Model().components.end(),
                  [](const auto& a, const auto& b) {
                    return a.kind == b.kind && a.name == b.name && a.path == b.path;
                  })) {
    error = "the read found other components than were written";
    return -1;
  }
  return seconds;
}

// Each iteration is a round of cp and every kind of pack, in turn, each into a new folder, the order
// reversed every other round: load from elsewhere on the shared machine and the file system's state
// then fall on all of them alike. The time reported is the command's (read and pack).
void Rounds(benchmark::State& state, Cache cache, std::vector<Steps> steps) {
  const std::string suffix = cache == Cache::kWarm ? " warm" : " cold";
  bool reversed = false;
  for (auto _ : state) {
    std::vector<int> order = {-1};
    for (const Steps step : steps) order.push_back(static_cast<int>(step));
    if (reversed) std::reverse(order.begin(), order.end());
    reversed = !reversed;
    for (const int which : order) {
      fs::path target;
      if (!FreshTarget(state, cache, target)) return;
      std::string error = "cp failed";
      const double seconds =
          which < 0 ? CpOnce(Project().files, target) : PackOnce(static_cast<Steps>(which), target, error);
      if (seconds < 0) {
        state.SkipWithError(error.c_str());
        return;
      }
      Times()[(which < 0 ? std::string("cp") : kStepNames[which]) + suffix].push_back(seconds);
      if (which == static_cast<int>(Steps::kReadAndPack)) state.SetIterationTime(seconds);
    }
  }
  state.counters["MB"] = static_cast<double>(Project().bytes) / 1e6;
  state.counters["files"] = static_cast<double>(Project().files.size());
}

// One pack of the group into target; its time, or a negative value when it failed.
double PackGroupOnce(const fs::path& target, bool oneAtATime) {
  const auto& group = Group();
  const auto codePage = posix::MakeCodePage(1252);
  posix::PosixPackFiles files(*codePage);
  posix::PosixFolderMaker folders(*codePage);
  Quiet ui;
  mdlGroup::GroupPackContext context{files, folders, ui, ui};
  context.copyThreads = oneAtATime ? 0 : cli::kPackCopyThreads;
  const auto start = std::chrono::steady_clock::now();
  bool refused = false;
  if (!mdlGroup::PackGroup(group.group, group.members, WindowsTarget(target, "Big.vbg"), context,
                           [&](const mdlGroup::Refusal&) { refused = true; }) ||
      refused) {
    return -1;
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Rounds of cp of the group's files, a group pack and one copying a file at a time, in turn, the order
// reversed every other round.
void GroupRounds(benchmark::State& state) {
  const char* const names[] = {"group cp warm", "group pack warm", "group pack one at a time warm"};
  bool reversed = false;
  for (auto _ : state) {
    std::vector<int> order = {0, 1, 2};
    if (reversed) std::reverse(order.begin(), order.end());
    reversed = !reversed;
    for (const int which : order) {
      fs::path target;
      if (!FreshTarget(state, Cache::kWarm, target)) return;
      const double seconds = which == 0 ? CpOnce(Group().files, target) : PackGroupOnce(target, which == 2);
      if (seconds < 0) {
        state.SkipWithError(which == 0 ? "cp failed" : "the group pack failed");
        return;
      }
      Times()[names[which]].push_back(seconds);
      if (which == 1) state.SetIterationTime(seconds);
    }
  }
  state.counters["MB"] = static_cast<double>(Group().bytes) / 1e6;
  state.counters["files"] = static_cast<double>(Group().files.size());
}

BENCHMARK_CAPTURE(Rounds, warm, Cache::kWarm,
                  {Steps::kPackOnly, Steps::kReadAndPack, Steps::kPackNamedTemporaries,
                   Steps::kPackOneAtATime})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(6);
BENCHMARK(GroupRounds)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(6);
BENCHMARK_CAPTURE(Rounds, cold, Cache::kCold, {Steps::kReadAndPack})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);

struct Range {
  double best = 0;
  double median = 0;
  double worst = 0;
};

Range RangeOf(std::vector<double> times) {
  if (times.empty()) return {};
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2], times.back()};
}

// The pack's times against cp's: best against best, and the median of each round's own ratio, which
// pairs runs made moments apart and so leaves out the disk's slower and faster stretches.
void PrintAgainst(const char* what, const std::string& name, const std::string& cpName) {
  const std::vector<double>& packs = Times()[name];
  const std::vector<double>& cps = Times()[cpName];
  const Range pack = RangeOf(packs);
  const Range cp = RangeOf(cps);
  if (pack.best == 0 || cp.best == 0) return;
  std::vector<double> ratios;
  for (std::size_t i = 0; i < std::min(packs.size(), cps.size()); ++i) ratios.push_back(packs[i] / cps[i]);
  std::printf("  %-34s %.3f s (%.3f-%.3f), /cp best %.2f, median of the rounds %.2f\n", what, pack.median,
              pack.best, pack.worst, pack.best / cp.best, RangeOf(ratios).median);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("project: %zu files, %.0f MB; median (best-worst) of each, goal warm pack/cp 1.00 or less\n",
              Project().files.size(), static_cast<double>(Project().bytes) / 1e6);
  const Range warm = RangeOf(Times()["cp warm"]);
  if (warm.best > 0) {
    std::printf("warm: cp %.3f s (%.3f-%.3f)\n", warm.median, warm.best, warm.worst);
    PrintAgainst("pack", "pack warm", "cp warm");
    PrintAgainst("read and pack (tarvex-cli pack)", "read and pack warm", "cp warm");
    PrintAgainst("pack, named temporary files", "pack named warm", "cp warm");
    PrintAgainst("pack, one copy at a time", "pack one at a time warm", "cp warm");
  }
  const Range groupCp = RangeOf(Times()["group cp warm"]);
  if (groupCp.best > 0) {
    std::printf("group of 10: %zu files, %.0f MB; warm: cp %.3f s (%.3f-%.3f)\n", Group().files.size(),
                static_cast<double>(Group().bytes) / 1e6, groupCp.median, groupCp.best, groupCp.worst);
    PrintAgainst("group pack", "group pack warm", "group cp warm");
    PrintAgainst("group pack, one copy at a time", "group pack one at a time warm", "group cp warm");
  }
  const Range cold = RangeOf(Times()["cp cold"]);
  if (cold.best > 0) {
    std::printf("cold: cp %.3f s (%.3f-%.3f)\n", cold.median, cold.best, cold.worst);
    PrintAgainst("read and pack (tarvex-cli pack)", "read and pack cold", "cp cold");
  } else if (!ColdRefusal().empty()) {
    std::printf("cold: not measured, the page cache cannot be dropped here (%s)\n", ColdRefusal().c_str());
  }
  std::fflush(stdout);  // the results before the long removal of every target
  fs::remove_all(kRoot);
  return 0;
}
