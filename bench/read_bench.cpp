// Reading a large project against the floor of reading its files' bytes once, checking it against reading
// it, and building a big tree.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/synthetic_project.h"
#include "check/check_project.h"
#include "cli/memory_tree_view.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/posix_folder_names.h"
#include "platform/posix/posix_text_files.h"
#include "project/mdl_file.h"

namespace {

struct Quiet : platform::MousePointer, platform::MessageBox, platform::MenuCommand {
  void Set(int32_t) override {}
  void Show(const std::string& text, int32_t, const std::string&) override { shown = text; }
  void SetEnabled(bool) override {}
  std::string shown;
};

bench::SyntheticProject& Project() {
  // A folder of this run's own: two runs at once must not write, read and remove the same files.
  static bench::SyntheticProject project = bench::WriteSyntheticProject(
      std::filesystem::temp_directory_path() / ("tarvex-read-bench-" + std::to_string(::getpid())),
      static_cast<int>(5000 * bench::BenchScale()), 50 * 1024, 500 * 1024);
  return project;
}

// The files the reader opens: the project file and every component file it must read.
std::vector<std::filesystem::path> ReadFiles() {
  std::vector<std::filesystem::path> files;
  for (const auto& path : Project().files) {
    const auto ext = path.extension();
    if (ext != ".bas" && ext != ".cls") files.push_back(path);
  }
  return files;
}

void BM_ReadBytesOnce(benchmark::State& state) {
  const auto files = ReadFiles();
  std::vector<char> buffer(64 * 1024);
  for (auto _ : state) {
    std::uintmax_t total = 0;
    for (const auto& path : files) {
      const int fd = ::open(path.c_str(), O_RDONLY);
      ssize_t n = 0;
      while ((n = ::read(fd, buffer.data(), buffer.size())) > 0) total += static_cast<std::uintmax_t>(n);
      ::close(fd);
    }
    benchmark::DoNotOptimize(total);
  }
}

void BM_ReadProject(benchmark::State& state) {
  const auto codePage = posix::MakeCodePage(1252);
  posix::PosixTextFiles files(*codePage);
  Quiet ui;
  cli::MemoryTreeView tree;
  const mdlFile::ReaderContext context{files, ui, ui, tree, ui};
  const std::string path = *posix::WindowsFromHost(Project().projectFile.string(), *codePage);
  for (auto _ : state) {
    if (!mdlFile::ReadProject(path, context)) state.SkipWithError("the read failed");
  }
  state.counters["components"] = mdlFile::Model().count;
}

// What `tarvex-cli check` does: the same read, watched, then the rules, reading what the read did not.
void BM_CheckProject(benchmark::State& state) {
  const auto codePage = posix::MakeCodePage(1252);
  posix::PosixTextFiles files(*codePage);
  posix::PosixFolderNames folders(*codePage);
  Quiet ui;
  cli::MemoryTreeView tree;
  const std::string path = *posix::WindowsFromHost(Project().projectFile.string(), *codePage);
  std::size_t findings = 0;
  for (auto _ : state) {
    check::ObservedFiles observed(files, path);
    if (!mdlFile::ReadProject(path, {observed, ui, ui, tree, ui})) state.SkipWithError("the read failed");
    findings = check::CheckProject({mdlFile::Model(), observed, files, folders}).size();
  }
  if (findings != 0) state.SkipWithError("the project should check clean");
}

void BM_BuildTree(benchmark::State& state) {
  mdlFile::ProjectModel model;
  model.type = mdlFile::typeStandardExe;
  for (int64_t i = 0; i < state.range(0); ++i) {
    model.components.push_back({static_cast<int32_t>(1 + i % 8), "Component" + std::to_string(i), "c.frm"});
  }
  model.count = static_cast<int32_t>(model.components.size());
  cli::MemoryTreeView tree;
  for (auto _ : state) mdlFile::BuildProjectTree(model, tree);
}

// Process CPU time (user and system) keeps the ratio meaningful on a busy machine.
BENCHMARK(BM_ReadBytesOnce)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime();
BENCHMARK(BM_ReadProject)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime();
BENCHMARK(BM_CheckProject)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime();
BENCHMARK(BM_BuildTree)->Arg(10000)->Unit(benchmark::kMillisecond);

// Keeps each run's time per iteration so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs)
      times[run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
          run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::printf("project: %zu files, %.1f MB\n", Project().files.size(), Project().bytes / 1e6);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double floor = reporter.times["BM_ReadBytesOnce"];
  const double read = reporter.times["BM_ReadProject"];
  if (floor > 0 && read > 0)
    std::printf("ReadProject / reading the bytes once: %.2f (goal: at most 1.5)\n", read / floor);
  const double checked = reporter.times["BM_CheckProject"];
  if (read > 0 && checked > 0)
    std::printf("check / reading with tree: %.2f (goal: at most 1.5)\n", checked / read);
  const double tree = reporter.times["BM_BuildTree/10000"];
  if (tree > 0) std::printf("BuildProjectTree, 10000 components: %.2f ms (goal: well under 100 ms)\n", tree);
  std::filesystem::remove_all(Project().folder);
  benchmark::Shutdown();
  return 0;
}
