// Every folder under tests/data/group/cases is one run of the built tarvex-cli in a scratch folder holding a
// copy of the case's in/ and an empty out/: `args` beside in/ gives the command's arguments. What it
// prints, its exit status and every file it wrote must match expected/: stdout.txt, stderr.txt, exit and
// written/ (no written/: nothing written); the files of in/ are never changed. No Wine prefix is asked
// but one a case names. TARVEX_UPDATE_CASES=1 writes expected/ from what the program does now.
#include <gtest/gtest.h>

#include <regex>

#include "tests/fakes/environment_setting.h"
#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGroups = fs::path(TARVEX_SOURCE_DIR) / "tests/data/group";

using fakes::EnvironmentSetting;
using fakes::Scratch;

class GroupCase : public ::testing::TestWithParam<std::string> {};

TEST_P(GroupCase, PrintsExitsAndWritesAsExpected) {
  const fs::path dir = kGroups / "cases" / GetParam();
  const fs::path expected = dir / "expected";
  const Scratch scratch;
  fs::copy(dir / "in", scratch / "in", fs::copy_options::recursive);
  scratch.Make("out");
  const EnvironmentSetting home("HOME", scratch.Path().string());
  const EnvironmentSetting prefix("WINEPREFIX", std::nullopt);
  const auto before = scratch.Snapshot("");
  const auto [status, out, err] = scratch.Run(Scratch::Setting(dir / "args", ""));
  std::map<std::string, std::string> written;
  for (const auto& [name, bytes] : scratch.Snapshot("")) {
    const auto old = before.find(name);
    if (old == before.end() || old->second != bytes) written[name] = bytes;
  }
  if (std::getenv("TARVEX_UPDATE_CASES")) {
    fs::remove_all(expected);
    scratch.Write(expected / "stdout.txt", out);
    scratch.Write(expected / "stderr.txt", err);
    scratch.Write(expected / "exit", std::to_string(status) + "\n");
    for (const auto& [name, bytes] : written) scratch.Write(expected / "written" / name, bytes);
    return;
  }
  EXPECT_EQ(status, std::stoi(Scratch::ReadAll(expected / "exit")));
  EXPECT_EQ(out, Scratch::ReadAll(expected / "stdout.txt"));
  EXPECT_EQ(err, Scratch::ReadAll(expected / "stderr.txt"));
  EXPECT_EQ(written, scratch.Snapshot(expected / "written"));
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

// Each dependency's kind and status, one a line, from `deps --json`.
std::string KindsAndStatuses(const std::string& json) {
  static const std::regex entry(R"re("kind": "([^"]*)".*"status": "([^"]*)")re");
  std::string out;
  for (std::sregex_iterator it(json.begin(), json.end(), entry), end; it != end; ++it)
    out += (*it)[1].str() + " " + (*it)[2].str() + "\n";
  return out;
}

// A group packed with --complete and moved elsewhere opens as the source did: every member, every component
// by name and kind, every project reference, the resource file, and no file missing that the source has.
TEST(PackedGroup, OpensWhereverItIsMoved) {
  for (const std::string tree : {"suite-pack-complete", "nested-pack-complete"}) {
    const Scratch scratch;
    const EnvironmentSetting home("HOME", scratch.Path().string());
    const EnvironmentSetting prefix("WINEPREFIX", std::nullopt);
    fs::copy(kGroups / "cases" / tree / "in", scratch / "in", fs::copy_options::recursive);
    scratch.Make("out");
    const std::string source = std::get<1>(scratch.Run("tree --json in/Suite.vbg"));
    const std::string sourceOrder = std::get<1>(scratch.Run("order in/Suite.vbg"));
    const auto [sourceDepsStatus, sourceDepsJson, sourceDepsErr] = scratch.Run("deps --json in/Suite.vbg");
    const std::string sourceDeps = KindsAndStatuses(sourceDepsJson);
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

    // Every dependency resolves as in the source: each project reference to its member, the resource file
    // found; a file missing there (a related document) is missing here too, and no other.
    const auto [depsStatus, depsJson, depsErr] = scratch.Run("deps --json elsewhere/moved/Suite.vbg");
    EXPECT_EQ(depsErr, "") << tree;
    EXPECT_EQ(depsStatus, sourceDepsStatus) << tree;
    EXPECT_EQ(KindsAndStatuses(depsJson), sourceDeps) << tree << depsJson;
    EXPECT_EQ(std::count(depsJson.begin(), depsJson.end(), '\n'),
              std::count(sourceDeps.begin(), sourceDeps.end(), '\n') + 2)
        << tree;
    for (const char* found : {"project-reference found", "resource-file found"})
      EXPECT_NE(sourceDeps.find(found), std::string::npos) << tree << sourceDeps;
    for (const char* missing : {"project-reference missing", "resource-file missing"})
      EXPECT_EQ(sourceDeps.find(missing), std::string::npos) << tree << sourceDeps;
    const std::string text = std::get<1>(scratch.Run("deps elsewhere/moved/Suite.vbg"));
    static const std::regex member(R"(: found: '[^']*\.vbp' is the group's member ')");
    EXPECT_EQ(std::distance(std::sregex_iterator(text.begin(), text.end(), member), std::sregex_iterator()),
              3)
        << tree << text;
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(App/App\.vbp:\d+: found: 'App\.res' is there)")))
        << text;
  }
}

}  // namespace
