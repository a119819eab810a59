// The Windows layer under /Setup. The shortcut's contents, the program's own path and the all-users
// programs folder are checked end to end by scripts/run-win32-tests, which reads the link /Setup writes.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "platform/errors.h"
#include "platform/win32/command_line.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_setup.h"
#include "platform/win32/win32_shell_link.h"
#include "setup/mdl_path.h"
#include "setup/mdl_shell_lnk.h"

namespace {

TEST(Win32SetupTest, TheArgumentsFollowTheProgramsNameAsTheCRuntimeReadsIt) {
  const std::pair<const char*, std::string> kCommandLines[] = {
      {"tarvex.exe /Setup", "/Setup"},
      {"\"C:\\Program Files\\Tarvex\\tarvex.exe\"  /Setup /a=b ", "/Setup /a=b "},
      {"\"C:\\a b\\x.exe\"/Setup", ""},  // the name goes on after its closing quote up to a blank
      {"\"C:\\a b\"c.exe\t/x", "/x"},
      {"tarvex.exe", ""},
      {"\"unclosed name", ""},
      {"", ""},
      {nullptr, ""},
      {"\"C:\\dir\\\" \"x\"", "\"x\""},  // backslashes before a quote are no escapes in the name
  };
  for (const auto& [commandLine, arguments] : kCommandLines)
    EXPECT_EQ(win32::ArgumentText(commandLine), arguments) << (commandLine ? commandLine : "null");
}

TEST(Win32SetupTest, ConvertsTextBothWaysAndRefusesWhatTheCodePageCannotSpell) {
  const win32::Win32CodePage western(1252);
  EXPECT_EQ(western.ToUtf8("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(western.FromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"), std::optional<std::string>("Caf\xE9 \x80"));
  EXPECT_EQ(western.FromUtf8("\xE3\x81\x82"), std::nullopt);  // a Hiragana letter
  EXPECT_EQ(western.FromUtf8("\xFF"), std::nullopt);          // no UTF-8
  EXPECT_EQ(win32::Win32CodePage(932).ToUtf8("\x82\xA0"), "\xE3\x81\x82");
}

TEST(Win32SetupTest, TheShellAndTheRegistryNameTheProgramsFolders) {
  win32::Shell32Folders shell;
  win32::Advapi32Registry registry;
  const std::string common = mdlPath::CommonProgramsFolder(shell);
  char expected[MAX_PATH];
  ASSERT_EQ(::SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, expected), S_OK);
  EXPECT_EQ(common, std::string(expected) + "\\");
  // The current user's folder is the registry's own answer.
  int32_t status = -1;
  auto key = registry.OpenKey(platform::kHkeyCurrentUser,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                              platform::kKeyRead, status);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(status, 0);
  platform::PathBuffer buffer{};
  EXPECT_EQ(key->QueryValue("Programs", buffer, platform::kMaxPath), 0);
  EXPECT_EQ(mdlPath::UserProgramsFolder(shell, registry), std::string(buffer.data()) + "\\");
  EXPECT_NE(common, std::string(buffer.data()) + "\\");
  EXPECT_EQ(registry.OpenKey(platform::kHkeyCurrentUser, "Software\\No Such Key Of Tarvex",
                             platform::kKeyRead, status),
            nullptr);
  EXPECT_NE(status, 0);
}

TEST(Win32SetupTest, ALinkInAMissingFolderFailsWithTheSystemsHResult) {
  const win32::ComApartment apartment;
  ASSERT_TRUE(SUCCEEDED(apartment.Result()));
  const auto codePage = win32::AnsiCodePage();
  win32::ComShellLinks links;
  const std::string program = win32::ModuleFileName();
  try {
    mdlShellLnk::CreateShortcut({links, *codePage}, "C:\\no such folder of tarvex\\Tarvex.lnk", program, "",
                                "", "", 0, platform::kSwShow, "");
    FAIL() << "saved";
  } catch (const platform::RaisedError& error) {
    EXPECT_LT(error.Number(), 0);
  }
}

}  // namespace
