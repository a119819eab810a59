#include <gtest/gtest.h>

#include "setup/mdl_path.h"
#include "tests/fakes/fake_setup.h"

using namespace mdlPath;

namespace {

struct Machine {
  fakes::CallLog log;
  fakes::FakeShellFolders shell{log};
  fakes::FakeRegistry registry{log};
  fakes::FakeProbeFiles files{log};
};

const std::string kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

TEST(AppPaths, JoinFolderBaseNameAndExe) {
  fakes::CallLog log;
  const fakes::FakeProgramFile program(log, "C:\\Tools\\Tarvex", "Tarvex");
  EXPECT_EQ(AppExePath(program), "C:\\Tools\\Tarvex\\Tarvex.exe");
  EXPECT_EQ(AppFolder(program), "C:\\Tools\\Tarvex\\");
}

TEST(AppPaths, DriveRootGetsNoSecondBackslash) {
  fakes::CallLog log;
  const fakes::FakeProgramFile program(log, "C:\\", "Tarvex");
  EXPECT_EQ(AppExePath(program), "C:\\Tarvex.exe");
  EXPECT_EQ(AppFolder(program), "C:\\");
}

TEST(AppPaths, ExtensionIsAlwaysExe) {
  fakes::CallLog log;
  // The base name comes without its real extension ("tarvex.bin" gives "tarvex").
  const fakes::FakeProgramFile program(log, "Z:\\opt\\bin", "tarvex");
  EXPECT_EQ(AppExePath(program), "Z:\\opt\\bin\\tarvex.exe");
}

TEST(CommonProgramsFolder, MissingOrFailingShellGivesEmptyWithoutFallback) {
  Machine m;
  EXPECT_EQ(CommonProgramsFolder(m.shell), "");
  m.shell.entryPointMissing = true;
  m.shell.folders[23] = "C:\\Never";
  EXPECT_EQ(CommonProgramsFolder(m.shell), "");
  EXPECT_EQ(m.log, (fakes::CallLog{"SHGetFolderPathA 23 0", "SHGetFolderPathA 23 0"}));
}

TEST(CommonProgramsFolder, KeepsTheTextBeforeTheFirstNul) {
  Machine m;
  m.shell.folders[23] = std::string("C:\\P\0junk", 9);
  EXPECT_EQ(CommonProgramsFolder(m.shell), "C:\\P\\");
}

TEST(UserProgramsFolder, FallsBackToTheRegistryValueAndClosesTheKey) {
  Machine m;
  m.registry.keyExists = true;
  m.registry.programs = "C:\\Reg\\Programs";
  EXPECT_EQ(UserProgramsFolder(m.shell, m.registry), "C:\\Reg\\Programs\\");
  EXPECT_EQ(m.log, (fakes::CallLog{"SHGetFolderPathA 2 0",
                                   "RegOpenKeyExA 2147483649 " + kShellFoldersKey + " 131097",
                                   "RegQueryValueExA Programs 260", "RegCloseKey"}));
  EXPECT_EQ(m.registry.openKeys, 0);

  m.shell.entryPointMissing = true;
  EXPECT_EQ(UserProgramsFolder(m.shell, m.registry), "C:\\Reg\\Programs\\");
}

TEST(UserProgramsFolder, NeitherSourceGivesEmptyNotBackslash) {
  Machine m;
  EXPECT_EQ(UserProgramsFolder(m.shell, m.registry), "");  // no key
  m.registry.keyExists = true;
  EXPECT_EQ(UserProgramsFolder(m.shell, m.registry), "");  // key without the value
  EXPECT_EQ(m.registry.openKeys, 0);
}

TEST(ProbeName, IsEightCapitalLettersAndTmp) {
  fakes::CallLog log;
  fakes::ScriptedRandom random(log, {0.0, 0.999999, 0.5, 1.5 / 26, 25.5 / 26, 0.1, 0.2, 0.3});
  EXPECT_EQ(ProbeName(random), "AZNBZCFH.tmp");
}

TEST(ProbeName, RealGeneratorsOnlyGiveLettersAToZ) {
  fakes::CallLog log;
  fakes::ScriptedRandom edge(log, {1.0, -0.0, 0.9999999999});
  EXPECT_EQ(ProbeName(edge).substr(0, 3), "ZAZ");
}

TEST(IsFolderWritable, EmptyFolderIsFalseWithoutTouchingAnything) {
  Machine m;
  fakes::ScriptedRandom random(m.log);
  EXPECT_EQ(IsFolderWritable("", m.files, random), 0);
  EXPECT_TRUE(m.log.empty());
}

TEST(IsFolderWritable, GivesUpAfterBoundedAttemptsWhenEveryNameIsTaken) {
  Machine m;
  m.files.files.insert("C:\\P\\AAAAAAAA.tmp");
  fakes::ScriptedRandom random(m.log);  // always draws AAAAAAAA
  EXPECT_EQ(IsFolderWritable("C:\\P", m.files, random), 0);
  EXPECT_EQ(std::count(m.log.begin(), m.log.end(), "Create C:\\P\\AAAAAAAA.tmp"), 16);
  EXPECT_EQ(std::count(m.log.begin(), m.log.end(), "Delete C:\\P\\AAAAAAAA.tmp"), 0);
  EXPECT_EQ(std::count(m.log.begin(), m.log.end(), "Randomize"), 1);
}

TEST(IsFolderWritable, FailedCloseOrDeleteIsFalse) {
  Machine m;
  fakes::ScriptedRandom random(m.log);
  m.files.failClose = true;
  EXPECT_EQ(IsFolderWritable("C:\\P", m.files, random), 0);
  EXPECT_TRUE(m.files.files.empty());  // a probe that would not close is still removed

  m.files.failClose = false;
  m.files.failDelete = true;
  EXPECT_EQ(IsFolderWritable("C:\\P", m.files, random), 0);
  EXPECT_EQ(m.files.files, (std::set<std::string>{"C:\\P\\AAAAAAAA.tmp"}));  // stays behind
}
