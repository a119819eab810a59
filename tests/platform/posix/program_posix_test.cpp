#include <gtest/gtest.h>

#include "tests/platform/posix/posix_test_support.h"

using namespace setup_test;

namespace {

// A new user's machine: the program, a user programs folder, an all-users one and a working folder.
class SetupRun : public ::testing::Test {
 protected:
  TempDir dir;
  fs::path bin = dir.Make("bin", fs::perms(0755));
  fs::path program = bin / "tarvex";
  fs::path userPrograms = dir.Make("user/applications");
  fs::path cwd = dir.Make("cwd");
  std::map<std::string, std::string> env{{"XDG_DATA_HOME", (dir.Path() / "user").string()},
                                         {"XDG_DATA_DIRS", (dir.Path() / "all").string()},
                                         {"HOME", (dir.Path() / "nohome").string()}};

  void SetUp() override {
    fs::copy_file(TARVEX_PROGRAM, program);
    fs::permissions(program, fs::perms(0755));
  }

  fs::path AllUsersPrograms(fs::perms perms = fs::perms(0777)) { return dir.Make("all/applications", perms); }

  RunResult Setup(const std::vector<std::string>& args = {"/Setup"}, bool asNobody = false) {
    return setup_test::Run(program, args, env, cwd, asNobody);
  }

  // The link Setup writes, checked field by field as an independent reader sees it.
  void ExpectTarvexLink(const fs::path& link) {
    ASSERT_TRUE(fs::exists(link)) << link;
    LnkInfo info = ReadWithLnkinfo(link);
    ASSERT_EQ(info.exitCode, 0) << info.output;
    const std::string exe = ZPath(bin) + "\\tarvex.exe";
    EXPECT_EQ(info.fields["Local path"], exe);
    EXPECT_EQ(info.fields["Working directory"], ZPath(bin) + "\\");
    EXPECT_EQ(info.fields["Description"], "Lumor Tarvex");
    EXPECT_EQ(info.fields["Icon location"], exe);
    EXPECT_EQ(info.fields["Icon index"], "0");
    EXPECT_EQ(info.fields.count("Command line arguments"), 0u);
    EXPECT_EQ(Read32(ReadAll(link), 0x3C), 5u);  // lnkinfo does not show the show command
  }
};

}  // namespace

TEST_F(SetupRun, EverySpellingWritesIntoAWritableAllUsersFolder) {
  const fs::path all = AllUsersPrograms();
  const std::vector<std::vector<std::string>> lines = {
      {"/Setup"},   {"/setup"},     {"/SETUP"},       {"/", " Setup"},
      {"/Setup=1"}, {"/Setup:yes"}, {"/x", "/Setup"}, {"C:\\Projects\\App.vbp", "/Setup"}};
  for (const auto& args : lines) {
    SCOPED_TRACE(args.back());
    const RunResult result = Setup(args);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.errors, "");
    ExpectTarvexLink(all / "Tarvex.lnk");
    EXPECT_TRUE(fs::is_empty(userPrograms));
    // Only the link is left: the probe removed its file.
    EXPECT_EQ(std::distance(fs::directory_iterator(all), fs::directory_iterator()), 1);
    fs::remove(all / "Tarvex.lnk");
  }
}

TEST_F(SetupRun, UnwritableAllUsersFolderSendsTheLinkToTheUsersFolder) {
  const fs::path all = AllUsersPrograms(fs::perms(0555));
  // The superuser could write anywhere, so the program runs as an ordinary user.
  const RunResult result = Setup({"/Setup"}, geteuid() == 0);
  EXPECT_EQ(result.exitCode, 0) << result.errors;
  EXPECT_EQ(result.errors, "");
  ExpectTarvexLink(userPrograms / "Tarvex.lnk");
  EXPECT_TRUE(fs::is_empty(all));
}

TEST_F(SetupRun, MissingAllUsersFolderSendsTheLinkToTheUsersFolder) {
  const RunResult result = Setup();
  EXPECT_EQ(result.exitCode, 0) << result.errors;
  ExpectTarvexLink(userPrograms / "Tarvex.lnk");
  EXPECT_FALSE(fs::exists(dir.Path() / "all"));
}

TEST_F(SetupRun, RunningTwiceGivesTheSameFile) {
  ASSERT_EQ(Setup().exitCode, 0);
  const std::string first = ReadAll(userPrograms / "Tarvex.lnk");
  ASSERT_EQ(Setup().exitCode, 0);
  EXPECT_EQ(ReadAll(userPrograms / "Tarvex.lnk"), first);
  EXPECT_EQ(std::distance(fs::directory_iterator(userPrograms), fs::directory_iterator()), 1);
}

TEST_F(SetupRun, NoProgramsFolderWritesTheBareNameInTheCurrentFolder) {
  fs::remove(userPrograms);
  const RunResult result = Setup();
  EXPECT_EQ(result.exitCode, 0) << result.errors;
  ExpectTarvexLink(cwd / "Tarvex.lnk");
}

TEST_F(SetupRun, FailureEndsWithTheHresultOnStandardError) {
  fs::remove(userPrograms);
  fs::create_directory(cwd / "Tarvex.lnk");  // the link cannot replace a folder
  const RunResult result = Setup();
  EXPECT_NE(result.exitCode, 0);
  EXPECT_EQ(result.errors, "Setup failed. 0x80070005\n");
  EXPECT_TRUE(fs::is_empty(cwd / "Tarvex.lnk"));
}
