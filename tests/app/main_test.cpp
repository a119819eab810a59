#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "app/mdl_main.h"
#include "app/mdl_param.h"
#include "tests/fakes/fake_setup.h"
#include "tests/fakes/fake_shell.h"

using fakes::CallLog;

namespace {

struct Machine {
  CallLog log;
  fakes::FakeShellFolders shell{log};
  fakes::FakeRegistry registry{log};
  fakes::FakeProgramFile program{log, "C:\\Tools", "Tarvex"};
  fakes::FakeProbeFiles files{log};
  fakes::ScriptedRandom random{log};
  fakes::ShellLinkScript script;
  fakes::RecordingShellLinks links{script};
  fakes::Latin1CodePage codePage;
  SetupPlatform platform{shell, registry, program, files, random, links, codePage};
  std::ostringstream errors;
  int windows = 0;
  std::optional<std::string> projectFile;

  int Run(const std::string& commandLine) {
    return mdlMain::Main(
        commandLine, platform,
        [this](const std::optional<std::string>& project) {
          projectFile = project;
          return ++windows, 7;
        },
        errors);
  }
};

const CallLog kSetupLinkCalls = {"CoCreateInstance ShellLink",
                                 "QueryInterface IPersistFile",
                                 "SetPath C:\\Tools\\Tarvex.exe",
                                 "SetWorkingDirectory C:\\Tools\\",
                                 "SetDescription Lumor Tarvex",
                                 "SetIconLocation C:\\Tools\\Tarvex.exe,0",
                                 "SetShowCmd 5",
                                 "Resolve 0,5",
                                 "Save forget",
                                 "Release IPersistFile",
                                 "Release IShellLinkA"};

}  // namespace

// Every command line without /Setup shows the window; one path and nothing else is the project to read.
TEST(Main, NormalModeShowsTheWindowWithTheProjectNamedAlone) {
  const std::optional<std::string> none;
  const struct {
    std::string line;
    std::optional<std::string> project;
  } cases[] = {
      {"", none},
      {"/setupx", none},
      {"/setup =1", none},
      {"/x", none},
      {"/Mode=Fast", none},
      {"   ", none},
      {"C:\\x.vbp", "C:\\x.vbp"},
      {" Demo.vbp ", "Demo.vbp"},
      {"C:\\My Projects\\x.vbp", "C:\\My Projects\\x.vbp"},
      {"\"C:\\My Projects\\x.vbp\"", "C:\\My Projects\\x.vbp"},
      {"/home/ann/Demo.VBP", "/home/ann/Demo.VBP"},
      {"setup", "setup"},
      {"-setup", "-setup"},
      {"a.vbp /Mode=Fast", none},
      {"\"C:\\x.vbp\" b.vbp", none},
      {"\"\"", none},
  };
  for (const auto& c : cases) {
    Machine m;
    EXPECT_EQ(m.Run(c.line), 7) << c.line;
    EXPECT_EQ(m.windows, 1);
    EXPECT_EQ(m.projectFile, c.project) << c.line;
    EXPECT_TRUE(m.log.empty());
    EXPECT_TRUE(m.script.calls.empty());
  }
}

TEST(Main, SwitchTableHoldsTheParsedCommandLine) {
  Machine m;
  m.Run("a.vbp /Mode=Fast");
  ASSERT_EQ(mdlParam::Switches().size(), 2u);
  EXPECT_EQ(mdlParam::Switches()[1].name, "mode");
  EXPECT_EQ(mdlParam::Switches()[1].value, "Fast");
}

TEST(Main, WritableAllUsersFolderGetsTheShortcut) {
  Machine m;
  m.shell.folders[23] = "C:\\All\\Programs";
  m.shell.folders[2] = "C:\\Ann\\Programs";
  EXPECT_EQ(m.Run("/Setup"), 0);
  EXPECT_EQ(m.windows, 0);
  EXPECT_EQ(m.errors.str(), "");
  EXPECT_EQ(m.script.calls, kSetupLinkCalls);
  EXPECT_EQ(m.script.savedPath, u"C:\\All\\Programs\\Tarvex.lnk");
  // The folder functions in their order: common, probe, common again, then the program's paths.
  EXPECT_EQ(m.log, (CallLog{"SHGetFolderPathA 23 0", "Randomize", "Create C:\\All\\Programs\\AAAAAAAA.tmp",
                            "Close", "Delete C:\\All\\Programs\\AAAAAAAA.tmp", "SHGetFolderPathA 23 0",
                            "Folder", "BaseName", "Folder", "Folder", "BaseName"}));
  EXPECT_TRUE(m.files.files.empty());
}

TEST(Main, UnwritableAllUsersFolderSendsTheShortcutToTheUser) {
  Machine m;
  m.shell.folders[23] = "C:\\All\\Programs";
  m.shell.folders[2] = "C:\\Ann\\Programs";
  m.files.readOnlyFolders.insert("C:\\All\\Programs\\");
  EXPECT_EQ(m.Run("/x /SETUP:yes"), 0);
  EXPECT_EQ(m.script.savedPath, u"C:\\Ann\\Programs\\Tarvex.lnk");
  EXPECT_EQ(m.script.calls, kSetupLinkCalls);
  EXPECT_EQ(m.log[3], "SHGetFolderPathA 2 0");
}

TEST(Main, MissingAllUsersFolderSendsTheShortcutToTheUserWithoutProbing) {
  Machine m;
  m.shell.folders[2] = "C:\\Ann\\Programs\\";
  EXPECT_EQ(m.Run("/  Setup"), 0);
  EXPECT_EQ(m.script.savedPath, u"C:\\Ann\\Programs\\Tarvex.lnk");
  EXPECT_EQ(m.log[0], "SHGetFolderPathA 23 0");
  EXPECT_EQ(m.log[1], "SHGetFolderPathA 2 0");
}

TEST(Main, UserFolderFromTheRegistryWhenTheShellHasNone) {
  Machine m;
  m.shell.entryPointMissing = true;
  m.registry.keyExists = true;
  m.registry.programs = "C:\\Reg\\Programs";
  EXPECT_EQ(m.Run("/Setup"), 0);
  EXPECT_EQ(m.script.savedPath, u"C:\\Reg\\Programs\\Tarvex.lnk");
}

TEST(Main, NoProgramsFolderAtAllGivesTheBareLinkName) {
  Machine m;
  EXPECT_EQ(m.Run("/Setup"), 0);
  EXPECT_EQ(m.script.savedPath, u"Tarvex.lnk");
  EXPECT_EQ(m.windows, 0);
}

TEST(Main, FailedShortcutReportsTheHresultAndShowsNoWindow) {
  Machine m;
  m.script.failAt = "Save";
  m.script.failure = static_cast<int32_t>(0x80070005u);
  EXPECT_NE(m.Run("/Setup"), 0);
  EXPECT_EQ(m.windows, 0);
  EXPECT_EQ(m.errors.str(), "Setup failed. 0x80070005\n");
}

TEST(Main, FailureTextShowsTheHresultAsEightHexDigits) {
  EXPECT_EQ(mdlMain::SetupFailureText(platform::RaisedError(static_cast<int32_t>(0x80004005u), "")),
            "Setup failed. 0x80004005");
  EXPECT_EQ(mdlMain::SetupFailureText(platform::RaisedError(5, "")), "Setup failed. 0x00000005");
}
