// The Windows layer under /Setup. The shortcut's contents, the program's own path and the all-users
// programs folder are checked end to end by scripts/run-win32-tests, which reads the link /Setup writes.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/win32/command_line.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_setup.h"
#include "platform/win32/win32_shell_link.h"
#include "setup/mdl_path.h"
#include "setup/mdl_shell_lnk.h"
#include "tests/fakes/table_file.h"

namespace {

TEST(Win32SetupTest, TheArgumentsFollowTheProgramsNameAsTheCRuntimeReadsIt) {
  for (const fakes::Row& row : fakes::ReadTable("platform/win32/command_lines.txt")) {
    EXPECT_EQ(win32::ArgumentText(row.at(0) == "(null)" ? nullptr : row[0].c_str()), row.at(1)) << row[0];
  }
}

TEST(Win32SetupTest, ConvertsTextBothWaysAndRefusesWhatTheCodePageCannotSpell) {
  const win32::Win32CodePage western(1252);
  EXPECT_EQ(western.ToUtf8("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(western.FromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"), std::optional<std::string>("Caf\xE9 \x80"));
  EXPECT_EQ(western.FromUtf8("\xE3\x81\x82"), std::nullopt);  // a Hiragana letter
  EXPECT_EQ(western.FromUtf8("\xFF"), std::nullopt);          // no UTF-8
  EXPECT_EQ(win32::Win32CodePage(932).ToUtf8("\x82\xA0"), "\xE3\x81\x82");
}

// The all-users folder is where /Setup puts its link under Wine, which scripts/run-win32-tests checks.
TEST(Win32SetupTest, TheCurrentUsersProgramsFolderIsTheRegistrysOwnAnswer) {
  win32::Shell32Folders shell;
  win32::Advapi32Registry registry;
  int32_t status = -1;
  auto key = registry.OpenKey(platform::kHkeyCurrentUser,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                              platform::kKeyRead, status);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(status, 0);
  platform::PathBuffer buffer{};
  EXPECT_EQ(key->QueryValue("Programs", buffer, platform::kMaxPath), 0);
  EXPECT_EQ(mdlPath::UserProgramsFolder(shell, registry), std::string(buffer.data()) + "\\");
  EXPECT_EQ(registry.OpenKey(platform::kHkeyCurrentUser, "Software\\No Such Key Of Tarvex",
                             platform::kKeyRead, status),
            nullptr);
  EXPECT_NE(status, 0);
}

TEST(Win32SetupTest, ALinkInAMissingFolderFailsWithTheSystemsHResult) {
  const win32::ComApartment apartment;
  ASSERT_TRUE(SUCCEEDED(apartment.Result()));
  win32::ComShellLinks links;
  try {
    mdlShellLnk::CreateShortcut({links, *win32::AnsiCodePage()}, "C:\\no such folder of tarvex\\Tarvex.lnk",
                                win32::ModuleFileName(), "", "", "", 0, platform::kSwShow, "");
    FAIL() << "saved";
  } catch (const platform::RaisedError& error) {
    EXPECT_LT(error.Number(), 0);
  }
}

}  // namespace
