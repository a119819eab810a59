// `deps` against its floor: reading the project as `tree` does plus one read of the prefix's registry
// files (as cat reads them, 128 KiB at a time), alternating the two in one run, on a real-sized project
// and on one of thousands of generated references and controls, each against a registry file of
// realistic size. Prints the median of each round's ratio (goal: at most 1.5), the medians of the parts,
// and the time per dependency resolved (goal: well under a millisecond). Meaningful in a Release build.
//
// Then the same comparison between whole commands, as a user runs them: tarvex-cli deps against
// tarvex-cli tree followed by cat of the registry files.
//
// TARVEX_BENCH_SCALE multiplies the number of references (default 1: 3,000 references, 1,000 controls).
// TARVEX_BENCH_KEEP leaves the last generated prefix and project in the temporary folder, for a profiler.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

#include "bench/run_command.h"
#include "bench/synthetic_project.h"
#include "cli/memory_tree_view.h"
#include "deps/dependency.h"
#include "deps/resolve.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/posix_text_files.h"
#include "platform/posix/prefix_library_files.h"
#include "platform/posix/wine_registry.h"
#include "project/mdl_file.h"

namespace fs = std::filesystem;

namespace {

struct Quiet : platform::MousePointer, platform::MessageBox, platform::MenuCommand {
  void Set(int32_t) override {}
  void Show(const std::string&, int32_t, const std::string&) override {}
  void SetEnabled(bool) override {}
};

const char* const kLibraries[] = {"stdole2.tlb",  "scrrun.dll", "shdocvw.dll", "msscript.ocx",
                                  "vbscript.dll", "hhctrl.ocx", "wshom.ocx",   "msado15.dll"};

std::string Guid(int i) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-0000-0000-C000-%012X}", i, i * 7);
  return text;
}

// A prefix with Wine's libraries in system32 and a system.reg registering every generated library among
// keys of other kinds, and a project naming them.
struct Setup {
  fs::path folder, prefix, project;
  std::vector<fs::path> registryFiles;
  int dependencies = 0;
};

Setup Make(int references, int controls, int registered, int otherKeys) {
  Setup setup;
  setup.folder = fs::temp_directory_path() / "tarvex-deps-bench";
  fs::remove_all(setup.folder);
  setup.prefix = setup.folder / "prefix";
  const fs::path system32 = setup.prefix / "drive_c/windows/system32";
  fs::create_directories(system32);
  fs::create_directories(setup.prefix / "dosdevices");
  fs::create_directory_symlink("../drive_c", setup.prefix / "dosdevices/c:");
  const fs::path wine = fs::exists("/usr/lib/i386-linux-gnu/wine/i386-windows/stdole2.tlb")
                            ? "/usr/lib/i386-linux-gnu/wine/i386-windows"
                            : "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
  for (const char* name : kLibraries) fs::copy_file(wine / name, system32 / name);

  std::ofstream reg(setup.prefix / "system.reg", std::ios::binary);
  reg << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win32\n\n";
  for (int i = 0; i < registered; ++i) {
    reg << "[Software\\\\Classes\\\\Typelib\\\\" << Guid(i)
        << "\\\\1.0\\\\0\\\\win32] 1796728235\n#time=1d9f\n@=\"C:\\\\windows\\\\system32\\\\"
        << kLibraries[i % 8] << "\"\n\n";
    // The other keys of a real prefix: classes, interfaces, services, each with a few values.
    for (int k = 0; k < otherKeys; ++k) {
      reg << "[Software\\\\Classes\\\\CLSID\\\\" << Guid(i * 16 + k)
          << "\\\\InprocServer32] 1796728235\n#time=1d9f\n"
          << "@=\"C:\\\\windows\\\\system32\\\\" << kLibraries[k % 8] << "\"\n\"ThreadingModel\"=\"Both\"\n"
          << "\"Data\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n  "
             "17,18\n\n";
    }
  }
  reg.close();
  std::ofstream(setup.prefix / "user.reg", std::ios::binary) << "WINE REGISTRY Version 2\n";
  setup.registryFiles = {setup.prefix / "system.reg", setup.prefix / "user.reg"};

  const fs::path project = setup.folder / "project";
  fs::create_directories(project);
  std::ofstream vbp(project / "App.vbp", std::ios::binary);
  vbp << "Type=Exe\r\n";
  for (int i = 0; i < references; ++i) {
    vbp << "Reference=*\\G" << Guid(i) << "#1.0#0#..\\..\\..\\WINDOWS\\system32\\" << kLibraries[i % 8]
        << "#Library " << i << "\r\n";
  }
  for (int i = references; i < references + controls; ++i) {
    vbp << "Object=" << Guid(i) << "#1.0#0; " << kLibraries[i % 8] << "\r\n";
  }
  const int forms = std::min(50, controls);
  for (int f = 0; f < forms; ++f) {
    vbp << "Form=Form" << f << ".frm\r\n";
    std::ofstream form(project / ("Form" + std::to_string(f) + ".frm"), std::ios::binary);
    form << "VERSION 5.00\r\n";
    for (int c = 0; c < 10; ++c) {
      form << "Object = \"" << Guid(references + (f * 10 + c) % std::max(controls, 1))
           << "#1.0#0\"; \"x.ocx\"\r\n";
    }
    form << "Begin VB.Form Form" << f << "\r\n   Caption = \"F\"\r\nEnd\r\nAttribute VB_Name = \"Form" << f
         << "\"\r\n";
  }
  vbp << "ResFile32=\"App.res\"\r\nName=\"App\"\r\n";
  setup.project = project / "App.vbp";
  setup.dependencies = references + controls + 1 + forms * 10;
  return setup;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Measured {
  double floor = 0, deps = 0, ratio = 0, perDependency = 0, registry = 0, cat = 0, project = 0, headers = 0;
  // The same comparison between whole commands: tarvex-cli deps against tarvex-cli tree and then cat.
  double floorCommands = 0, depsCommand = 0, commandRatio = 0;
  std::size_t dependencies = 0;
  double registryMb = 0;
};

// tarvex-cli tree, then cat of the registry files, against tarvex-cli deps, alternating as above; the
// medians of the times and of each round's ratio. false when a command fails.
bool MeasureCommands(const Setup& setup, Measured& measured) {
  std::vector<std::string> cat = {"cat"};
  for (const auto& file : setup.registryFiles) cat.push_back(file.string());
  const std::vector<std::string> tree = {TARVEX_CLI, "tree", setup.project.string()};
  // deps ends with 1 when a dependency is missing, as the generated resource file is.
  const std::vector<std::string> deps = {TARVEX_CLI, "deps", "--wine-prefix", setup.prefix.string(),
                                         setup.project.string()};
  std::vector<double> floorTimes, depsTimes, ratios;
  for (int round = -1; round < 31; ++round) {
    const double treeTime = bench::RunCommand(tree);
    const double catTime = bench::RunCommand(cat);
    const double depsTime = bench::RunCommand(deps, 1);
    if (treeTime < 0 || catTime < 0 || depsTime < 0) return false;
    if (round < 0) continue;
    floorTimes.push_back(treeTime + catTime);
    depsTimes.push_back(depsTime);
    ratios.push_back(depsTime / (treeTime + catTime));
  }
  measured.floorCommands = Median(floorTimes);
  measured.depsCommand = Median(depsTimes);
  measured.commandRatio = Median(ratios);
  return true;
}

// Alternates tree + cat and deps in one process, after one round of each to warm the caches, over 31
// rounds; the medians of the times and of the ratio of each round's pair.
std::optional<Measured> Measure(const Setup& setup) {
  const auto codePage = posix::MakeCodePage(1252);
  posix::PosixTextFiles files(*codePage);
  Quiet ui;
  cli::MemoryTreeView tree;
  const mdlFile::ReaderContext context{files, ui, ui, tree, ui};
  const std::string path = *posix::WindowsFromHost(setup.project.string(), *codePage);
  std::vector<char> buffer(128 * 1024);  // as cat reads: 128 KiB at a time
  std::vector<double> floorTimes, depsTimes, ratios, resolveTimes, registryTimes, catTimes, projectTimes,
      headerTimes;
  std::size_t resolved = 0;
  for (int round = -1; round < 31; ++round) {
    // tree, then cat of the registry files.
    auto start = std::chrono::steady_clock::now();
    if (!mdlFile::ReadProject(path, context)) return std::nullopt;
    const auto catStart = std::chrono::steady_clock::now();
    std::size_t bytes = 0;
    for (const auto& file : setup.registryFiles) {
      std::ifstream in(file, std::ios::binary);
      while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
        bytes += in.gcount();
    }
    const double floorTime = Seconds(start);
    const double catTime = Seconds(catStart);

    // deps: the same read, then the dependencies, the registry and every resolution.
    start = std::chrono::steady_clock::now();
    if (!mdlFile::ReadProject(path, context)) return std::nullopt;
    const double projectTime = Seconds(start);
    const auto headersStart = std::chrono::steady_clock::now();
    const auto dependencies = deps::ReadDependencies(mdlFile::Model(), files);
    const double headersTime = Seconds(headersStart);
    const auto registryStart = std::chrono::steady_clock::now();
    auto opened = posix::OpenWineRegistry(setup.prefix.string());
    const double registryTime = Seconds(registryStart);
    posix::PrefixLibraryFiles libraries(setup.prefix.string(), *codePage);
    const auto resolving = std::chrono::steady_clock::now();
    const auto resolutions =
        deps::Resolve(dependencies, {mdlFile::Model(), opened.registry.get(), "", libraries});
    const double resolveTime = Seconds(resolving);
    const double depsTime = Seconds(start);
    resolved = resolutions.size();
    if (bytes == 0) return std::nullopt;
    if (round < 0) continue;
    floorTimes.push_back(floorTime);
    depsTimes.push_back(depsTime);
    ratios.push_back(depsTime / floorTime);
    registryTimes.push_back(registryTime);
    catTimes.push_back(catTime);
    projectTimes.push_back(projectTime);
    headerTimes.push_back(headersTime);
    resolveTimes.push_back(resolveTime / static_cast<double>(std::max<std::size_t>(1, resolved)));
  }
  if (resolved != static_cast<std::size_t>(setup.dependencies)) {
    std::printf("expected %d dependencies, resolved %zu\n", setup.dependencies, resolved);
    return std::nullopt;
  }
  Measured measured;
  measured.floor = Median(floorTimes);
  measured.deps = Median(depsTimes);
  measured.ratio = Median(ratios);
  measured.perDependency = Median(resolveTimes);
  measured.registry = Median(registryTimes);
  measured.cat = Median(catTimes);
  measured.project = Median(projectTimes);
  measured.headers = Median(headerTimes);
  measured.dependencies = resolved;
  measured.registryMb = static_cast<double>(fs::file_size(setup.registryFiles[0])) / 1e6;
  return measured;
}

}  // namespace

int main(int argc, char** argv) {
#ifndef NDEBUG
  std::puts("warning: not a Release build; the ratios say little");
#endif
  const double scale = bench::BenchScale();
  // A project as real ones are (20 references, 8 controls, 8 forms) against a registry of a real prefix's
  // size (about 3 MB, 150 TypeLib keys among 2,000 others); then thousands of references.
  const struct {
    const char* name;
    int references, controls, registered, otherKeys;
  } cases[] = {{"real-sized project", 20, 8, 150, 80},
               {"thousands of references", static_cast<int>(3000 * scale), static_cast<int>(1000 * scale),
                static_cast<int>(4000 * scale), 2}};
  bool met = true;
  for (const auto& c : cases) {
    // One case when named on the command line ("real", "thousands"), for a profiler.
    if (argc > 1 && std::string_view(c.name).find(argv[1]) == std::string_view::npos) continue;
    const Setup setup = Make(c.references, c.controls, c.registered, c.otherKeys);
    auto measured = Measure(setup);
    const bool commandsRan = measured && MeasureCommands(setup, *measured);
    if (!std::getenv("TARVEX_BENCH_KEEP")) fs::remove_all(setup.folder);
    if (!measured) return std::puts("the read failed"), 1;
    if (!commandsRan) return std::puts("a command failed"), 1;
    const double ratio = measured->ratio;
    std::printf("%s: %zu dependencies, system.reg %.1f MB\n", c.name, measured->dependencies,
                measured->registryMb);
    std::printf(
        "  tree + cat of the registry: %.2f ms; deps: %.2f ms; median of the rounds' "
        "deps / (tree + cat): %.2f (goal: at most 1.5)\n",
        measured->floor * 1e3, measured->deps * 1e3, ratio);
    std::printf(
        "  medians of the parts: cat %.2f ms; deps: the project %.2f ms, the components' headers %.2f ms, "
        "the "
        "registry files %.2f ms, the resolutions %.2f ms\n",
        measured->cat * 1e3, measured->project * 1e3, measured->headers * 1e3, measured->registry * 1e3,
        measured->perDependency * static_cast<double>(measured->dependencies) * 1e3);
    std::printf(
        "  as commands: tarvex-cli tree, then cat: %.2f ms; tarvex-cli deps: %.2f ms; median of the rounds' "
        "ratio: %.2f (goal: at most 1.5)\n",
        measured->floorCommands * 1e3, measured->depsCommand * 1e3, measured->commandRatio);
    std::printf("  deps per dependency, everything included: %.2f us\n",
                measured->deps * 1e6 / static_cast<double>(measured->dependencies));
    std::printf(
        "  resolution per dependency (after reading the project and the registry): %.2f us (goal: "
        "well under 1000 us)\n",
        measured->perDependency * 1e6);
    met = met && measured->perDependency < 1e-3;
  }
  return met ? 0 : 1;
}
