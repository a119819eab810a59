// Every folder under tests/data/cli is one case: the project in in/ is read with `tarvex-cli tree
// --json` and packed with `tarvex-cli pack`; what they print and the packed folder must match expected/.
// Optional files beside in/: `source` (the project, relative to in/; default Project.vbp), `target` (relative
// to the scratch folder; default out/Project.vbp), `codepage` (TARVEX_CODEPAGE for both runs) and out/ (files
// already in the target folder).
// TARVEX_UPDATE_CASES=1 writes expected/ from what the programs do now.
#include <gtest/gtest.h>

#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCases = fs::path(TARVEX_SOURCE_DIR) / "tests/data/cli";

using fakes::Scratch;

class ProjectCase : public ::testing::TestWithParam<std::string> {};

TEST_P(ProjectCase, ReadsAndPacksAsExpected) {
  const Scratch scratch;
  const fs::path dir = kCases / GetParam();
  fs::copy(dir / "in", scratch / "in", fs::copy_options::recursive);
  scratch.Make("out");
  if (fs::exists(dir / "out")) fs::copy(dir / "out", scratch / "out", fs::copy_options::recursive);
  const std::string source = "in/" + Scratch::Setting(dir / "source", "Project.vbp");
  const std::string target = Scratch::Setting(dir / "target", "out/Project.vbp");
  const fs::path targetFolder = fs::path(target).parent_path();
  const auto before = scratch.Snapshot("");
  // The code page the programs run in, inherited from this process.
  const std::string codePage = Scratch::Setting(dir / "codepage", "");
  if (!codePage.empty()) ::setenv("TARVEX_CODEPAGE", codePage.c_str(), 1);
  struct Unset {
    ~Unset() { ::unsetenv("TARVEX_CODEPAGE"); }
  } unset;

  const auto [treeExit, json, treeErr] = scratch.Run("tree --json '" + source + "'");
  const auto [packExit, packOut, packErr] = scratch.Run("pack '" + source + "' '" + target + "'");
  const std::string results = "tree exit " + std::to_string(treeExit) + "\n" + treeErr + "pack exit " +
                              std::to_string(packExit) + "\n" + packOut + packErr;
  const auto packed = scratch.Snapshot(fs::weakly_canonical(scratch / targetFolder.string()));

  if (std::getenv("TARVEX_UPDATE_CASES")) {
    fs::remove_all(dir / "expected");
    // An absolute path leaves the scratch folder.
    scratch.Write(dir / "expected/tree.json", json);
    scratch.Write(dir / "expected/results.txt", results);
    for (const auto& [name, bytes] : packed) scratch.Write(dir / "expected/packed" / name, bytes);
    return;
  }
  EXPECT_EQ(json, Scratch::ReadAll(dir / "expected/tree.json"));
  EXPECT_EQ(results, Scratch::ReadAll(dir / "expected/results.txt"));
  EXPECT_EQ(packed, scratch.Snapshot(dir / "expected/packed"));
  // A pack never changes a file it reads; packing into the project's own folder only adds to it.
  EXPECT_EQ(scratch.Trespasses(before, "in/", targetFolder), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Data, ProjectCase, ::testing::ValuesIn(Scratch::Names(kCases)),
                         [](const auto& info) { return Scratch::TestName(info.param); });

TEST(CommandLine, WrongArgumentsAreUsageErrorsThatTouchNothing) {
  const Scratch scratch;
  scratch.Write("App.vbp", "Module=M; M.bas\r\n");
  for (const std::string args :
       {"", "tree", "tree a.vbp b.vbp", "pack App.vbp", "pack App.vbp 'x y' z", "bogus"}) {
    EXPECT_EQ(std::get<0>(scratch.Run(args)), 2) << args;
    EXPECT_EQ(scratch.NamesIn(""), std::vector<std::string>{"App.vbp"}) << args;
  }
}

}  // namespace
