#include <gtest/gtest.h>

#include "setup/mdl_path.h"
#include "tests/fakes/fake_setup.h"
#include "tests/setup/table_file.h"

using fakes::CallLog;

TEST(AppPaths, SplitTheProgramFileAndJoinItAgainAsAnExe) {
  for (const setup_test::Row& row : setup_test::ReadTable("program_paths.txt")) {
    std::string folder, base;
    mdlPath::SplitProgramPath(row.at(0), folder, base);
    EXPECT_EQ(folder + "|" + base, row.at(1) + "|" + row.at(2));
    const fakes::FakeProgramFile program(folder, base);
    EXPECT_EQ(mdlPath::AppExePath(program) + "|" + mdlPath::AppFolder(program), row.at(3) + "|" + row.at(4));
  }
  EXPECT_EQ(mdlPath::AddTrailingBackslash(""), "\\");
}

// Only the text before the first NUL counts; "\" is added unless there is one, never to an empty text.
TEST(ProgramsFolders, ShellFirstThenForTheUserOnlyTheRegistry) {
  using Text = std::optional<std::string>;
  const struct {
    Text common, user;  // what the shell leaves for each id; none for a failing call
    bool entryPointMissing;
    Text registry;  // the value "Programs"; none when the key is missing, "" when only the value is
    std::string expectedCommon, expectedUser;
  } cases[] = {
      {{}, {}, false, {}, "", ""},
      {"C:\\All", "C:\\Me\\", false, "C:\\Reg", "C:\\All\\", "C:\\Me\\"},
      {std::string("C:\\P\0junk", 9), "", false, "C:\\Reg\\Programs", "C:\\P\\", "C:\\Reg\\Programs\\"},
      {"C:\\Never", "C:\\Never", true, "C:\\Reg\\Programs", "", "C:\\Reg\\Programs\\"},
      {{}, {}, false, "", "", ""},
      {{}, {}, true, {}, "", ""},
  };
  for (const auto& c : cases) {
    fakes::FakeSetupMachine m;
    if (c.common) m.shell.folders[23] = *c.common;
    if (c.user) m.shell.folders[2] = *c.user;
    m.shell.entryPointMissing = c.entryPointMissing;
    m.shell.keyExists = c.registry.has_value();
    if (c.registry && !c.registry->empty()) m.shell.programs = c.registry;
    EXPECT_EQ(mdlPath::CommonProgramsFolder(m.shell), c.expectedCommon);
    EXPECT_EQ(mdlPath::UserProgramsFolder(m.shell, m.shell), c.expectedUser);
    // A key that opened is closed again; it is opened only when the shell gave the user no folder.
    EXPECT_EQ(std::count(m.log.begin(), m.log.end(), "RegCloseKey"), c.registry && c.user != "C:\\Me\\");
  }
  fakes::FakeSetupMachine m;
  m.shell.keyExists = true;
  mdlPath::UserProgramsFolder(m.shell, m.shell);
  EXPECT_EQ(m.log,
            (CallLog{"SHGetFolderPathA 2 0",
                     "RegOpenKeyExA 2147483649 Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                     "Shell Folders 131097",
                     "RegQueryValueExA Programs 260", "RegCloseKey"}));
}

TEST(ProbeName, IsEightCapitalLettersAndTmpEvenForAGeneratorGivingOne) {
  CallLog log;
  fakes::ScriptedRandom random(log, {0.0, 0.999999, 0.5, 1.5 / 26, 25.5 / 26, 1.0, -0.0, 0.3});
  EXPECT_EQ(mdlPath::ProbeName(random), "AZNBZZAH.tmp");
}

// The fake's random numbers are all 0: every probe is C:\P\AAAAAAAA.tmp.
TEST(IsFolderWritable, TrueOnlyWhenTheProbeIsCreatedClosedAndDeleted) {
  const struct {
    std::string fault;
    int16_t expected;
    std::size_t left;  // files in the folder afterwards
  } cases[] = {{"", -1, 0},
               {"taken", 0, 1},  // a file the probe did not create is never deleted
               {"read-only", 0, 0},
               {"close", 0, 0},    // a probe that would not close is still removed
               {"delete", 0, 1}};  // and one that cannot be deleted stays behind
  for (const auto& c : cases) {
    fakes::FakeSetupMachine m;
    if (c.fault == "taken") m.files.files.insert("C:\\P\\AAAAAAAA.tmp");
    if (c.fault == "read-only") m.files.readOnlyFolders.insert("C:\\P\\");
    m.files.failClose = c.fault == "close";
    m.files.failDelete = c.fault == "delete";
    EXPECT_EQ(mdlPath::IsFolderWritable("C:\\P", m.files, m.random), c.expected);
    EXPECT_EQ(m.files.files.size(), c.left);
    // Seeded once; a name already taken is drawn again, a bounded number of times.
    EXPECT_EQ(m.log.front(), "Randomize");
    EXPECT_EQ(std::count(m.log.begin(), m.log.end(), "Create C:\\P\\AAAAAAAA.tmp"),
              c.fault == "taken" ? 16 : 1);
    EXPECT_EQ(m.log.size(), c.fault == "taken" ? 17u : c.fault == "read-only" ? 2u : 3u);
  }
  fakes::FakeSetupMachine m;
  EXPECT_EQ(mdlPath::IsFolderWritable("", m.files, m.random), 0);
  EXPECT_TRUE(m.log.empty()) << "the empty folder touches nothing";
}
