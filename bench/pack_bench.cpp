// Packing a large project against copying the same files with cp, in the same run and on the same disk.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "bench/pack_project_generator.h"
#include "pack/mdl_file_pack.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/pack_files_posix.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Quiet : platform::MousePointer, platform::MessageBox {
  void Set(int32_t) override {}
  void Show(const std::string& text, int32_t, const std::string&) override { shown = text; }
  std::string shown;
};

const fs::path kRoot = fs::temp_directory_path() / "tarvex-pack-bench";

bench::PackProjectOnDisk& Project() {
  static bench::PackProjectOnDisk project =
      bench::WritePackProject(kRoot / "src", static_cast<int>(3000 * bench::PackBenchScale()));
  return project;
}

// An empty target folder with nothing of the last run still being written out.
fs::path FreshTarget() {
  const fs::path target = kRoot / "out";
  fs::remove_all(target);
  fs::create_directories(target);
  ::sync();
  return target;
}

double bestCp = 0;
double bestPack = 0;

void Keep(double& best, double seconds) {
  best = best == 0 ? seconds : std::min(best, seconds);
}

void BM_Cp(benchmark::State& state) {
  const auto& project = Project();
  for (auto _ : state) {
    const fs::path target = FreshTarget();
    std::vector<std::string> words = {"cp", "--"};
    for (const auto& file : project.files) words.push_back(file.string());
    words.push_back(target.string() + "/");
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = -1;
    if (::posix_spawnp(&pid, "cp", nullptr, nullptr, argv.data(), environ) != 0 ||
        ::waitpid(pid, &status, 0) < 0 || status != 0) {
      state.SkipWithError("cp failed");
      return;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    Keep(bestCp, seconds);
  }
  state.counters["MB"] = static_cast<double>(project.bytes) / 1e6;
  state.counters["files"] = static_cast<double>(project.files.size());
}

void BM_Pack(benchmark::State& state) {
  const auto& project = Project();
  const auto codePage = posix::MakeCodePage(1252);
  for (auto _ : state) {
    const fs::path target = FreshTarget();
    posix::PosixPackFiles files(*codePage);
    Quiet ui;
    const mdlFile::PackContext context{files, ui, ui};
    const auto start = std::chrono::steady_clock::now();
    const std::string windowsTarget = "Z:" + [&] {
      std::string path = (target / "Big.vbp").string();
      std::replace(path.begin(), path.end(), '/', '\\');
      return path;
    }();
    if (!mdlFile::PackProject(project.model, windowsTarget, context)) {
      state.SkipWithError("the pack failed");
      return;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(seconds);
    Keep(bestPack, seconds);
  }
  state.counters["MB"] = static_cast<double>(project.bytes) / 1e6;
}

BENCHMARK(BM_Cp)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Pack)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (bestCp > 0 && bestPack > 0) {
    std::printf("%zu files, %.0f MB: cp %.3f s, pack %.3f s, pack/cp %.2f (goal 1.20 or less)\n",
                Project().files.size(), static_cast<double>(Project().bytes) / 1e6, bestCp, bestPack,
                bestPack / bestCp);
  }
  fs::remove_all(kRoot);
  return 0;
}
