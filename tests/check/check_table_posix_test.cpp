// Runs the built tarvex-cli check on a copy of each case's in/ under tests/data/check and compares what
// it prints, its exit status and every file's bytes and permissions afterwards with the case's expected/:
// stdout.txt, stderr.txt, exit, and fixed/ for the files a fix rewrites. args beside in/ holds the
// command's arguments (default App.vbp); codepage, TARVEX_CODEPAGE for the run; readonly names files
// made read-only first; links holds pairs "FILE NEW-NAME", each a second name (hard link) given to a
// file first.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(TARVEX_SOURCE_DIR) / "tests" / "data" / "check";

using fakes::Scratch;

class CheckTable : public ::testing::TestWithParam<std::string> {};

TEST_P(CheckTable, PrintsExitsAndLeavesFilesAsExpected) {
  const fs::path source = kData / GetParam();
  // The copy keeps the case's name, so that a path climbing out of it and back in still works.
  const Scratch scratch;
  const fs::path work = scratch / GetParam();
  fs::copy(source / "in", work, fs::copy_options::recursive);
  // An odd mode, so that a rewrite keeping the file's permissions is told from one taking the defaults.
  if (fs::exists(work / "App.vbp")) fs::permissions(work / "App.vbp", fs::perms(0640));
  std::istringstream readOnly(Scratch::ReadAll(source / "readonly"));
  for (std::string name; readOnly >> name;) fs::permissions(work / name, fs::perms(0444));
  std::istringstream links(Scratch::ReadAll(source / "links"));
  for (std::string file, name; links >> file >> name;) fs::create_hard_link(work / file, work / name);
  // Only a fix writes, only the files it names, keeping their permissions, and it leaves no temporary
  // file behind.
  auto expected = scratch.Snapshot(GetParam(), true);
  for (auto& [name, bytes] : expected)
    if (fs::exists(source / "expected/fixed" / name))
      bytes = Scratch::ReadAll(source / "expected/fixed" / name);

  const std::string codePage = Scratch::Setting(source / "codepage", "");
  if (!codePage.empty()) ::setenv("TARVEX_CODEPAGE", codePage.c_str(), 1);
  struct Unset {
    ~Unset() { ::unsetenv("TARVEX_CODEPAGE"); }
  } unset;
  const auto [status, out, err] =
      scratch.Run("check " + Scratch::Setting(source / "args", "App.vbp"), GetParam());
  EXPECT_EQ(status, std::stoi(Scratch::ReadAll(source / "expected/exit")));
  EXPECT_EQ(out, Scratch::ReadAll(source / "expected/stdout.txt"));
  EXPECT_EQ(err, Scratch::ReadAll(source / "expected/stderr.txt"));
  EXPECT_EQ(scratch.Snapshot(GetParam(), true), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckTable, ::testing::ValuesIn(Scratch::Names(kData)),
                         [](const auto& info) { return Scratch::TestName(info.param); });

}  // namespace
