#include <gtest/gtest.h>

#include "setup/mdl_path.h"
#include "tests/fakes/fake_setup.h"
#include "tests/fakes/scripted_dialogs.h"
#include "tests/fakes/table_file.h"

using fakes::CallLog;

TEST(AppPaths, SplitTheProgramFileAndJoinItAgainAsAnExe) {
  for (const fakes::Row& row : fakes::ReadTable("setup/program_paths.txt")) {
    std::string folder, base;
    mdlPath::SplitProgramPath(row.at(0), folder, base);
    EXPECT_EQ(folder + "|" + base, row.at(1) + "|" + row.at(2));
    const fakes::FakeProgramFile program(folder, base);
    EXPECT_EQ(mdlPath::AppExePath(program) + "|" + mdlPath::AppFolder(program), row.at(3) + "|" + row.at(4));
  }
  EXPECT_EQ(mdlPath::AddTrailingBackslash(""), "\\");
}

TEST(ProgramsFolders, ShellFirstThenForTheUserOnlyTheRegistry) {
  for (const fakes::Row& row : fakes::ReadTable("setup/programs_folders.txt")) {
    fakes::FakeSetupMachine m;
    for (const int id : {0, 1}) {
      if (row.at(id) != "-" && row[id] != "!") m.shell.folders[id ? 2 : 23] = fakes::Unescaped(row[id]);
    }
    m.shell.entryPointMissing = row[0] == "!";
    m.shell.keyExists = row.at(2) != "-";
    if (!row[2].empty() && row[2] != "-") m.shell.programs = row[2];
    EXPECT_EQ(mdlPath::CommonProgramsFolder(m.shell), row.at(3)) << row[0];
    EXPECT_EQ(mdlPath::UserProgramsFolder(m.shell, m.shell), row.at(4)) << row[1];
    EXPECT_EQ(m.log, fakes::Row(row.begin() + 5, row.end())) << row[0] << "|" << row[1];
  }
}

TEST(ProbeName, IsEightCapitalLettersAndTmpEvenForAGeneratorGivingOne) {
  CallLog log;
  fakes::ScriptedRandom random(log, {0.0, 0.999999, 0.5, 1.5 / 26, 25.5 / 26, 1.0, -0.0, 0.3});
  EXPECT_EQ(mdlPath::ProbeName(random), "AZNBZZAH.tmp");
}

TEST(IsFolderWritable, TrueOnlyWhenTheProbeIsCreatedClosedAndDeleted) {
  for (const fakes::Row& row : fakes::ReadTable("setup/fake_probes.txt")) {
    fakes::FakeSetupMachine m;
    if (row.at(0) == "taken") m.files.files.insert("C:\\P\\AAAAAAAA.tmp");
    if (row[0] == "read-only") m.files.readOnlyFolders.insert("C:\\P\\");
    m.files.failClose = row[0] == "close";
    m.files.failDelete = row[0] == "delete";
    EXPECT_EQ(mdlPath::IsFolderWritable(row.at(1), m.files, m.random), std::stoi(row.at(2))) << row[0];
    EXPECT_EQ(m.files.files.size(), std::stoul(row.at(3))) << row[0];
    EXPECT_EQ(m.log, fakes::Row(row.begin() + 4, row.end())) << row[0];
  }
}
