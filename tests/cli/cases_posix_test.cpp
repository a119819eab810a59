// Every folder under tests/data/projects is one case: the project in in/ is read with `tarvex-cli tree
// --json` and packed with `tarvex-cli pack`; what they print and the packed folder must match expected/.
// Optional files beside in/: `source` (the project, relative to in/; default Project.vbp), `target` (relative
// to the scratch folder; default out/Project.vbp) and out/ (files already in the target folder).
// TARVEX_UPDATE_CASES=1 writes expected/ from what the programs do now.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCases = fs::path(TARVEX_SOURCE_DIR) / "tests/data/projects";

std::string ReadAll(const fs::path& path) { return fakes::Scratch::ReadAll(path); }

std::string Setting(const fs::path& file, const std::string& fallback) {
  std::string value = fs::exists(file) ? ReadAll(file) : fallback;
  while (value.ends_with('\n') || value.ends_with('\r')) value.pop_back();
  return value;
}

// Runs the program in the folder; returns its exit status, with what it printed (the folder as <root>).
int RunCli(const fakes::Scratch& scratch, const std::string& args, std::string& out, std::string& err) {
  const fs::path& root = scratch.Path();
  const int status = std::system(("cd '" + root.string() + "' && '" TARVEX_BINARY_DIR "/cli/tarvex-cli' " + args +
                                  " >stdout.txt 2>stderr.txt").c_str());
  out = scratch.Relative(ReadAll(root / "stdout.txt"));
  err = scratch.Relative(ReadAll(root / "stderr.txt"));
  fs::remove(root / "stdout.txt");
  fs::remove(root / "stderr.txt");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ProjectCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ProjectCase, ReadsAndPacksAsExpected) {
  const fakes::Scratch scratch;
  const fs::path& root = scratch.Path();
  const fs::path dir = kCases / GetParam();
  fs::copy(dir / "in", root / "in", fs::copy_options::recursive);
  scratch.Make("out");
  if (fs::exists(dir / "out")) fs::copy(dir / "out", root / "out", fs::copy_options::recursive);
  const std::string source = "in/" + Setting(dir / "source", "Project.vbp");
  const std::string target = Setting(dir / "target", "out/Project.vbp");
  const fs::path targetFolder = fs::path(target).parent_path();
  const auto before = scratch.Snapshot("");

  std::string json, treeErr, packOut, packErr;
  const int treeExit = RunCli(scratch, "tree --json '" + source + "'", json, treeErr);
  const int packExit = RunCli(scratch, "pack '" + source + "' '" + target + "'", packOut, packErr);
  const std::string results = "tree exit " + std::to_string(treeExit) + "\n" + treeErr + "pack exit " +
                              std::to_string(packExit) + "\n" + packOut + packErr;
  const auto packed = scratch.Snapshot(fs::weakly_canonical(root / targetFolder));

  if (std::getenv("TARVEX_UPDATE_CASES")) {
    fs::remove_all(dir / "expected");
    // An absolute path leaves the scratch folder.
    scratch.Write(dir / "expected/tree.json", json);
    scratch.Write(dir / "expected/results.txt", results);
    for (const auto& [name, bytes] : packed) scratch.Write(dir / "expected/packed" / name, bytes);
    return;
  }
  EXPECT_EQ(json, ReadAll(dir / "expected/tree.json"));
  EXPECT_EQ(results, ReadAll(dir / "expected/results.txt"));
  EXPECT_EQ(packed, scratch.Snapshot(dir / "expected/packed"));
  // A pack never changes a file it reads; packing into the project's own folder only adds to it.
  EXPECT_EQ(scratch.Trespasses(before, "in/", targetFolder), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Data, ProjectCase, ::testing::ValuesIn(fakes::Scratch::Names(kCases)),
                         [](const auto& info) { return fakes::Scratch::TestName(info.param); });

TEST(CommandLine, WrongArgumentsAreUsageErrorsThatTouchNothing) {
  fakes::Scratch scratch;
  scratch.Write("App.vbp", "Module=M; M.bas\r\n");
  for (const std::string args : {"", "tree", "tree a.vbp b.vbp", "pack App.vbp", "pack App.vbp 'x y' z", "bogus"}) {
    std::string out, err;
    EXPECT_EQ(RunCli(scratch, args, out, err), 2) << args;
    EXPECT_EQ(scratch.NamesIn(""), std::vector<std::string>{"App.vbp"}) << args;
  }
}

}  // namespace
