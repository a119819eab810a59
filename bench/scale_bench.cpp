// Reading and packing at sizes far past real projects: many components, a long project line, a huge
// one-line component file and a path of many ".." segments. Each case runs in a child process at a
// quarter of its size and at its full size, and prints the time and the peak memory it added, so
// that time per unit and memory per unit can be compared across the two sizes.
//
// TARVEX_BENCH_SCALE multiplies every size (default 1: 100,000 components, a 10 MB line, a 1 GB
// component file, 10,000 segments). The large files are sparse or written in pieces, never held.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "bench/synthetic_project.h"
#include "cli/memory_tree_view.h"
#include "pack/mdl_file_pack.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_text_files.h"
#include "project/mdl_file.h"

namespace fs = std::filesystem;

namespace {

struct Quiet : platform::MousePointer, platform::MessageBox, platform::MenuCommand {
  void Set(int32_t) override {}
  void Show(const std::string& text, int32_t, const std::string&) override { shown = text; }
  void SetEnabled(bool) override {}
  std::string shown;
};

// What one run of a case gave, reported by the child.
struct Figures {
  double seconds = 0;
  long peakBeforeKb = 0;
  long peakAfterKb = 0;
  char outcome[160] = {};
};

long PeakKb() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Runs prepare, then the measured work, in a child of its own, so that each peak is the case's alone.
Figures InChild(const std::function<void()>& prepare, const std::function<std::string()>& work) {
  int pipe[2];
  if (::pipe(pipe) != 0) std::perror("pipe");
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe[0]);
    prepare();
    Figures figures;
    figures.peakBeforeKb = PeakKb();
    const auto start = std::chrono::steady_clock::now();
    const std::string outcome = work();
    figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.peakAfterKb = PeakKb();
    std::snprintf(figures.outcome, sizeof figures.outcome, "%s", outcome.c_str());
    if (::write(pipe[1], &figures, sizeof figures) != sizeof figures) ::_exit(1);
    ::_exit(0);
  }
  ::close(pipe[1]);
  Figures figures;
  if (::read(pipe[0], &figures, sizeof figures) != sizeof figures)
    std::snprintf(figures.outcome, sizeof figures.outcome, "child failed");
  ::close(pipe[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return figures;
}

const fs::path& Folder() {
  static const fs::path folder =
      fs::temp_directory_path() / ("tarvex-scale-bench-" + std::to_string(::getpid()));
  return folder;
}

std::unique_ptr<platform::CodePage>& CodePage() {
  static std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  return codePage;
}

std::string Win(const fs::path& host) {
  return *posix::WindowsFromHost(host.string(), *CodePage());
}

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// Reads the project as "&Open..." does and tells how it went.
std::string ReadProject(const fs::path& project) {
  posix::PosixTextFiles files(*CodePage());
  Quiet quiet;
  cli::MemoryTreeView tree;
  const mdlFile::ReaderContext context{files, quiet, quiet, tree, quiet};
  if (!mdlFile::ReadProject(Win(project), context)) return quiet.shown;
  return std::to_string(mdlFile::Model().count) + " components";
}

std::string PackProject(const fs::path& target) {
  posix::PosixPackFiles files(*CodePage());
  Quiet quiet;
  std::string failed;
  const mdlFile::PackContext context{files, quiet, quiet, [&failed](const mdlFile::PackFailure& failure) {
                                       if (failed.empty()) failed = " (" + failure.reason + ")";
                                     }};
  mdlFile::PackProject(mdlFile::Model(), Win(target), context);
  return quiet.shown + failed;
}

std::string ReadThenPack(const fs::path& project) {
  const std::string read = ReadProject(project);
  return read + ", " + PackProject(Folder() / "out" / project.filename());
}

void Fresh() {
  fs::remove_all(Folder());
  fs::create_directories(Folder() / "out");
}

// A project of n components: one in ten a form with a file of its own, the others modules and classes.
void ManyComponents(long n) {
  Fresh();
  std::ofstream project(Folder() / "Many.vbp", std::ios::binary);
  project << "Type=Exe\r\nName=\"Many\"\r\n";
  for (long i = 0; i < n; ++i) {
    const std::string id = std::to_string(i);
    if (i % 10 == 0) {
      project << "Form=F" << id << ".frm\r\n";
      WriteFile(Folder() / ("F" + id + ".frm"), "VERSION 5.00\r\nBegin VB.Form F" + id +
                                                    "\r\nEnd\r\nAttribute VB_Name = \"F" + id + "\"\r\n");
    } else if (i % 2 == 0) {
      project << "Module=M" << id << "; M" << id << ".bas\r\n";
    } else {
      project << "Class=C" << id << "; C" << id << ".cls\r\n";
    }
  }
}

// A project file whose Name line is bytes long, written in pieces.
void LongLine(long bytes) {
  Fresh();
  std::ofstream project(Folder() / "Long.vbp", std::ios::binary);
  project << "Type=Exe\r\nName=";
  const std::string piece(1 << 20, 'n');
  for (long left = bytes; left > 0; left -= static_cast<long>(piece.size()))
    project.write(piece.data(), std::min<long>(left, static_cast<long>(piece.size())));
  project << "\r\nForm=Main.frm\r\n";
  WriteFile(Folder() / "Main.frm", "Begin VB.Form Main\r\nAttribute VB_Name = \"Main\"\r\n");
}

// A form whose file is one line of bytes: "Begin VB.Form Big" and then NULs (a sparse file, so that
// making it costs nothing). The reader must stream it, holding only the line's first bytes.
void HugeComponentLine(long bytes) {
  Fresh();
  WriteFile(Folder() / "Huge.vbp", "Type=Exe\r\nForm=Big.frm\r\n");
  const fs::path big = Folder() / "Big.frm";
  WriteFile(big, "Begin VB.Form Big ");
  fs::resize_file(big, static_cast<std::uintmax_t>(bytes));
}

// A form named through segments "x\..\" (which resolve to the project's folder) and a module through
// as many "..\" (which climb past the root and name a file that is not there).
void ManySegments(long segments) {
  Fresh();
  std::string down;
  std::string up;
  for (long i = 0; i < segments; ++i) {
    down += "x\\..\\";
    up += "..\\";
  }
  WriteFile(Folder() / "Deep.vbp", "Form=" + down + "Main.frm\r\nModule=Up; " + up + "Up.bas\r\n");
  WriteFile(Folder() / "Main.frm", "Begin VB.Form Main\r\nAttribute VB_Name = \"Main\"\r\n");
}

struct Case {
  const char* name;
  const char* unit;
  long fullSize;
  std::function<void(long)> prepare;
  std::function<std::string()> work;
};

void Report(const Case& c, long size, const Figures& f) {
  const double addedMb = static_cast<double>(f.peakAfterKb - f.peakBeforeKb) / 1024.0;
  std::printf("%-34s %12ld %-10s %9.3f s %12.3f us/%-9s %8.1f MB added %10.4f KB/%-9s  %s\n", c.name, size,
              c.unit, f.seconds, 1e6 * f.seconds / static_cast<double>(size), c.unit, addedMb,
              (addedMb * 1024.0) / static_cast<double>(size), c.unit, f.outcome);
}

}  // namespace

int main() {
  const double scale = bench::BenchScale();
  const auto scaled = [scale](double size) { return static_cast<long>(size * scale); };
  const Case cases[] = {
      {"read: many components", "component", scaled(100000), ManyComponents,
       [] { return ReadProject(Folder() / "Many.vbp"); }},
      {"read: long project line", "byte", scaled(10 << 20), LongLine,
       [] { return ReadProject(Folder() / "Long.vbp"); }},
      {"read: one-line component file", "byte", scaled(1 << 30), HugeComponentLine,
       [] { return ReadProject(Folder() / "Huge.vbp"); }},
      {"read: many .. segments", "segment", scaled(10000), ManySegments,
       [] { return ReadProject(Folder() / "Deep.vbp"); }},
      {"read and pack: many .. segments", "segment", scaled(10000), ManySegments,
       [] { return ReadThenPack(Folder() / "Deep.vbp"); }},
      {"read and pack: one-line file", "byte", scaled(1 << 30), HugeComponentLine,
       [] { return ReadThenPack(Folder() / "Huge.vbp"); }},
  };
  std::printf(
      "Scale %.2f (TARVEX_BENCH_SCALE). Each case at a quarter and at its full size; memory is the peak\n"
      "resident size the case added to its process.\n\n",
      scale);
  for (const Case& c : cases) {
    for (const long size : {c.fullSize / 4, c.fullSize}) {
      const Figures figures = InChild([&] { c.prepare(size); }, c.work);
      Report(c, size, figures);
      std::fflush(stdout);
    }
  }
  fs::remove_all(Folder());
  return 0;
}
