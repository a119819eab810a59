#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "app/mdl_main.h"
#include "platform/win32/command_line.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_probe_files.h"
#include "platform/win32/win32_setup.h"
#include "platform/win32/win32_shell_link.h"
#include "platform/win32/win32_text.h"
#include "setup/mdl_path.h"
#include "setup/time_seeded_random.h"
#include "setup/mdl_shell_lnk.h"
#include "tests/platform/win32/temp_folder.h"

namespace {

TEST(ArgumentTextTest, DropsTheProgramsOwnNameAsWindowsParsesIt) {
  EXPECT_EQ(win32::ArgumentText("tarvex.exe /Setup"), "/Setup");
  EXPECT_EQ(win32::ArgumentText("\"C:\\Program Files\\Tarvex\\tarvex.exe\"  /Setup /a=b "), "/Setup /a=b ");
  // As the C runtime reads argv[0], the name goes on after its closing quote up to a blank.
  EXPECT_EQ(win32::ArgumentText("\"C:\\a b\\x.exe\"/Setup"), "");
  EXPECT_EQ(win32::ArgumentText("\"C:\\a b\"c.exe\t/x"), "/x");
  EXPECT_EQ(win32::ArgumentText("tarvex.exe"), "");
  EXPECT_EQ(win32::ArgumentText("\"unclosed name"), "");
  EXPECT_EQ(win32::ArgumentText(""), "");
  EXPECT_EQ(win32::ArgumentText(nullptr), "");
  // Backslashes before a quote are no escapes in the program's name.
  EXPECT_EQ(win32::ArgumentText("\"C:\\dir\\\" \"x\""), "\"x\"");
}

TEST(Win32CodePageTest, ConvertsBothWaysAndRefusesWhatTheCodePageCannotSpell) {
  const win32::Win32CodePage western(1252);
  EXPECT_EQ(western.ToUtf8("Caf\xE9 \x80"), "Caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(western.FromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"), std::optional<std::string>("Caf\xE9 \x80"));
  EXPECT_EQ(western.FromUtf8("\xE3\x81\x82"), std::nullopt);  // a Hiragana letter
  EXPECT_EQ(western.FromUtf8("\xFF"), std::nullopt);          // no UTF-8
  const win32::Win32CodePage japanese(932);
  EXPECT_EQ(japanese.ToUtf8("\x82\xA0"), "\xE3\x81\x82");
}

TEST(Win32SetupTest, TheProgramFileIsThisTestProgram) {
  const win32::ModuleProgramFile program;
  EXPECT_EQ(program.BaseName(), "tests_platform_win32");
  EXPECT_EQ(mdlPath::AppExePath(program), win32::ModuleFileName());
  EXPECT_EQ(mdlPath::AppFolder(program).back(), '\\');
}

TEST(Win32SetupTest, SplitsProgramPathsAtTheDriveRootAndWithoutExtension) {
  std::string folder, base;
  mdlPath::SplitProgramPath("C:\\tarvex.exe", folder, base);
  EXPECT_EQ(folder, "C:\\");
  EXPECT_EQ(base, "tarvex");
  mdlPath::SplitProgramPath("Z:\\work\\my.tool\\Tarvex.Setup.EXE", folder, base);
  EXPECT_EQ(folder, "Z:\\work\\my.tool");
  EXPECT_EQ(base, "Tarvex.Setup");
}

TEST(Win32SetupTest, TheShellAndTheRegistryNameTheProgramsFolders) {
  win32::Shell32Folders shell;
  win32::Advapi32Registry registry;
  const std::string common = mdlPath::CommonProgramsFolder(shell);
  const std::string user = mdlPath::UserProgramsFolder(shell, registry);
  ASSERT_FALSE(common.empty());
  ASSERT_FALSE(user.empty());
  EXPECT_EQ(common.back(), '\\');
  EXPECT_NE(common, user);
  char expected[MAX_PATH];
  ASSERT_EQ(::SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, expected), S_OK);
  EXPECT_EQ(common, std::string(expected) + "\\");
  // The registry's own answer for the current user's folder.
  int32_t status = -1;
  auto key = registry.OpenKey(platform::kHkeyCurrentUser,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                              platform::kKeyRead, status);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(status, 0);
  platform::PathBuffer buffer{};
  EXPECT_EQ(key->QueryValue("Programs", buffer, platform::kMaxPath), 0);
  EXPECT_EQ(user, std::string(buffer.data()) + "\\");
  EXPECT_EQ(registry.OpenKey(platform::kHkeyCurrentUser, "Software\\No Such Key Of Tarvex",
                             platform::kKeyRead, status),
            nullptr);
  EXPECT_NE(status, 0);
}

TEST(Win32SetupTest, ATemporaryFolderIsWritable) {
  tests::TempFolder folder;
  win32::Win32ProbeFiles probes;
  mdlPath::TimeSeededRandom random;
  EXPECT_EQ(mdlPath::IsFolderWritable(folder.Path(), probes, random), -1);
  EXPECT_TRUE(tests::NamesIn(folder.Path()).empty());
  EXPECT_EQ(mdlPath::IsFolderWritable(folder / "missing\\", probes, random), 0);
}

TEST(Win32ShellLinkTest, WritesALinkTheShellReadsBack) {
  const win32::ComApartment apartment;
  ASSERT_TRUE(SUCCEEDED(apartment.Result()));
  tests::TempFolder folder;
  const auto codePage = win32::AnsiCodePage();
  win32::ComShellLinks links;
  const std::string program = win32::ModuleFileName();
  mdlShellLnk::CreateShortcut({links, *codePage}, folder / "Tarvex.lnk", program, folder.Path(), "", program,
                              0, platform::kSwShow, "Lumor Tarvex");
  ASSERT_TRUE(tests::FileExists(folder / "Tarvex.lnk"));

  IShellLinkA* link = nullptr;
  ASSERT_EQ(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(&link)),
            S_OK);
  IPersistFile* file = nullptr;
  ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
  const std::wstring wide = win32::WideFromCodePage(folder / "Tarvex.lnk");
  EXPECT_EQ(file->Load(wide.c_str(), STGM_READ), S_OK);
  char text[MAX_PATH] = {};
  EXPECT_EQ(link->GetPath(text, MAX_PATH, nullptr, 0), S_OK);
  EXPECT_STRCASEEQ(text, program.c_str());
  EXPECT_EQ(link->GetDescription(text, MAX_PATH), S_OK);
  EXPECT_STREQ(text, "Lumor Tarvex");
  // The show command is the 32-bit value at 0x3C of the link file's header.
  const std::string bytes = tests::ReadFileBytes(folder / "Tarvex.lnk");
  ASSERT_GE(bytes.size(), 0x40u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0x3C]), SW_SHOW);
  EXPECT_EQ(bytes.substr(0x3D, 3), std::string(3, '\0'));
  file->Release();
  link->Release();
}

TEST(Win32ShellLinkTest, ALinkInAMissingFolderFailsWithTheSystemsHResult) {
  const win32::ComApartment apartment;
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
