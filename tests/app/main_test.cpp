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

TEST(Main, UserFolderFromTheRegistryWhenTheShellHasNone) {
  Machine m;
  m.shell.entryPointMissing = true;
  m.registry.keyExists = true;
  m.registry.programs = "C:\\Reg\\Programs";
  EXPECT_EQ(m.Run("/Setup"), 0);
  EXPECT_EQ(m.script.savedPath, u"C:\\Reg\\Programs\\Tarvex.lnk");
}

TEST(Main, FailureTextShowsTheHresultAsEightHexDigits) {
  EXPECT_EQ(mdlMain::SetupFailureText(platform::RaisedError(static_cast<int32_t>(0x80004005u), "")),
            "Setup failed. 0x80004005");
  EXPECT_EQ(mdlMain::SetupFailureText(platform::RaisedError(5, "")), "Setup failed. 0x00000005");
}
