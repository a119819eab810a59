// Every folder under tests/data/group/cases is one run of the built tarvex-cli on a copy of a source tree
// from tests/data/group/trees: `tree` names the tree (copied as in/, beside an empty out/), `args` the
// command's arguments, run in the scratch folder. What it prints, its exit status and every file it wrote
// must match stdout.txt, stderr.txt, exit and written/ (no written/: nothing written); the files of in/
// are never changed. TARVEX_UPDATE_CASES=1 writes the expected files from what the program does now.
#include <gtest/gtest.h>

#include <regex>

#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGroups = fs::path(TARVEX_SOURCE_DIR) / "tests/data/group";

using fakes::Scratch;

class GroupCase : public ::testing::TestWithParam<std::string> {};

TEST_P(GroupCase, PrintsExitsAndWritesAsExpected) {
  const fs::path dir = kGroups / "cases" / GetParam();
  const Scratch scratch;
  fs::copy(kGroups / "trees" / Scratch::Setting(dir / "tree", ""), scratch / "in",
           fs::copy_options::recursive);
  scratch.Make("out");
  const auto before = scratch.Snapshot("");
  const auto [status, out, err] = scratch.Run(Scratch::Setting(dir / "args", ""));
  std::map<std::string, std::string> written;
  for (const auto& [name, bytes] : scratch.Snapshot("")) {
    const auto old = before.find(name);
    if (old == before.end() || old->second != bytes) written[name] = bytes;
  }
  if (std::getenv("TARVEX_UPDATE_CASES")) {
    fs::remove_all(dir / "written");
    scratch.Write(dir / "stdout.txt", out);
    scratch.Write(dir / "stderr.txt", err);
    scratch.Write(dir / "exit", std::to_string(status) + "\n");
    for (const auto& [name, bytes] : written) scratch.Write(dir / "written" / name, bytes);
    return;
  }
  EXPECT_EQ(status, std::stoi(Scratch::ReadAll(dir / "exit")));
  EXPECT_EQ(out, Scratch::ReadAll(dir / "stdout.txt"));
  EXPECT_EQ(err, Scratch::ReadAll(dir / "stderr.txt"));
  EXPECT_EQ(written, scratch.Snapshot(dir / "written"));
  for (const auto& [name, bytes] : written) EXPECT_FALSE(name.starts_with("in/")) << name << " was changed";
}

INSTANTIATE_TEST_SUITE_P(Cases, GroupCase, ::testing::ValuesIn(Scratch::Names(kGroups / "cases")),
                         [](const auto& info) { return Scratch::TestName(info.param); });

// Each member's components as "kind name" lines, from `tree --json`.
std::string Components(const std::string& json) {
  static const std::regex component(R"re(\{"index": \d+, "kind": (\d+), "name": "([^"]*)")re");
  std::string out;
  for (std::sregex_iterator it(json.begin(), json.end(), component), end; it != end; ++it)
    out += (*it)[1].str() + " " + (*it)[2].str() + "\n";
  return out;
}

// The project files' bare names, one a line, of `order`'s output.
std::string BareNames(const std::string& order) {
  return std::regex_replace(order, std::regex(R"re([^\n]*\\)re"), "");
}

// A group packed with --complete and moved elsewhere opens as the source did: every member, every component
// by name and kind, every project reference, the resource file, and no file missing.
TEST(PackedGroup, OpensWhereverItIsMoved) {
  for (const std::string tree : {"suite", "nested"}) {
    const Scratch scratch;
    fs::copy(kGroups / "trees" / tree, scratch / "in", fs::copy_options::recursive);
    scratch.Make("out");
    const std::string source = std::get<1>(scratch.Run("tree --json in/Suite.vbg"));
    const std::string sourceOrder = std::get<1>(scratch.Run("order in/Suite.vbg"));
    const auto [packed, packOut, packErr] = scratch.Run("pack --complete in/Suite.vbg out/Suite.vbg");
    ASSERT_EQ(packed, 0) << tree << packErr;
    scratch.Make("elsewhere");
    fs::rename(scratch / "out", scratch / "elsewhere/moved");
    fs::remove_all(scratch / "in");  // nothing may still lead back to the source

    const auto [treeStatus, moved, treeErr] = scratch.Run("tree --json elsewhere/moved/Suite.vbg");
    EXPECT_EQ(treeStatus, 0) << tree << treeErr;
    EXPECT_EQ(Components(moved), Components(source)) << tree;
    EXPECT_NE(Components(source), "") << tree;
    const auto [orderStatus, order, orderErr] = scratch.Run("order elsewhere/moved/Suite.vbg");
    EXPECT_EQ(orderStatus, 0) << tree << orderErr;
    EXPECT_EQ(BareNames(order), BareNames(sourceOrder)) << tree;
    EXPECT_EQ(std::count(order.begin(), order.end(), '\n'), 3) << tree;

    const auto [checkStatus, findings, checkErr] = scratch.Run("check elsewhere/moved/Suite.vbg");
    EXPECT_EQ(checkStatus, 0) << tree << findings << checkErr;
    for (const char* missing :
         {"[member-missing]", "[startup-missing]", "[unreadable]", "[missing-companion]",
          "[project-reference-outside-group]", "[outside-folder]"})
      EXPECT_EQ(findings.find(missing), std::string::npos) << tree << ": " << findings;
    // The resource file is found where the moved project names it.
    EXPECT_TRUE(
        std::regex_search(findings, std::regex(R"(App/App\.vbp:\d+: warning: the resource file 'App\.res')")))
        << findings;
  }
}

}  // namespace
