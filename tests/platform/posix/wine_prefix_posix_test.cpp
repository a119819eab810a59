// Which Wine prefix deps reads, and how library paths on its drives reach the host's files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/code_pages.h"
#include "platform/posix/prefix_library_files.h"
#include "platform/posix/wine_registry.h"
#include "tests/fakes/environment_setting.h"
#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

using fakes::EnvironmentSetting;

const fs::path kStdole = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb";

TEST(WinePrefix, TheOneGivenThenWineprefixThenTildeWine) {
  const fakes::Scratch scratch;
  const EnvironmentSetting home("HOME", scratch.Path().string());
  const EnvironmentSetting prefix("WINEPREFIX", std::nullopt);
  EXPECT_EQ(posix::ChoosePrefix(std::nullopt), std::nullopt);
  scratch.Make(".wine");
  EXPECT_EQ(posix::ChoosePrefix(std::nullopt), (scratch / ".wine").string());
  prefix.Set("/elsewhere");
  EXPECT_EQ(posix::ChoosePrefix(std::nullopt), "/elsewhere");
  EXPECT_EQ(posix::ChoosePrefix("/given"), "/given");
  // A prefix without registry files is no registry, and says so.
  const auto opened = posix::OpenWineRegistry((scratch / ".wine").string());
  EXPECT_EQ(opened.registry, nullptr);
  EXPECT_NE(opened.problem.find("cannot read the registry files"), std::string::npos);
}

TEST(WinePrefix, DrivesGoThroughDosdevicesAndNamesMatchWithoutCase) {
  const fakes::Scratch scratch;
  fs::create_directories(scratch / "prefix/drive_c/Windows/System32");
  fs::create_directories(scratch / "prefix/dosdevices");
  fs::create_directory_symlink("../drive_c", scratch / "prefix/dosdevices/c:");
  fs::copy_file(kStdole, scratch / "prefix/drive_c/Windows/System32/stdole2.tlb");
  const auto codePage = posix::MakeCodePage(1252);
  posix::PrefixLibraryFiles files((scratch / "prefix").string(), *codePage);
  posix::PrefixLibraryFiles noPrefix(std::nullopt, *codePage);
  const std::string inPrefix = (scratch / "prefix/drive_c/Windows/System32/stdole2.tlb").string();
  const std::string onZ =
      "Z:" + scratch.Win().substr(2) + "\\prefix\\drive_c\\windows\\system32\\STDOLE2.TLB";
  const struct {
    posix::PrefixLibraryFiles& files;
    std::string path;
    std::string shown;  // empty: not found
  } cases[] = {
      {files, "C:\\WINDOWS\\system32\\stdole2.tlb", inPrefix},
      {files, "c:/windows/SYSTEM32/stdole2.tlb", inPrefix},
      {files, onZ, inPrefix},
      {noPrefix, onZ, inPrefix},
      {files, "C:\\windows\\system32\\missing.tlb", ""},
      {files, "D:\\windows\\system32\\stdole2.tlb", ""},  // no link for D:
      {noPrefix, "C:\\WINDOWS\\system32\\stdole2.tlb", ""},
      {files, "\\\\server\\share\\stdole2.tlb", ""},
      {files, "C:\\windows\\system32", ""},  // a folder is not a library file
  };
  for (const auto& c : cases) {
    const auto file = c.files.Look(c.path, true, 0);
    EXPECT_EQ(file.exists, !c.shown.empty()) << c.path;
    EXPECT_EQ(file.shown, c.shown) << c.path;
    EXPECT_EQ(file.identity.has_value(), !c.shown.empty()) << c.path;
  }
}

}  // namespace

// The registry files are read a buffer at a time: keys at every place against the buffer's edge, and a
// value line longer than the buffer, read as the whole text reads.
TEST(WinePrefix, RegistryFilesReadInPiecesReadAsAWhole) {
  const fakes::Scratch scratch;
  std::string text = "WINE REGISTRY Version 2\n";
  std::vector<std::string> guids;
  const auto key = [&](int i) {
    guids.push_back("{" + std::to_string(10000000 + i) + "-0000-0000-C000-000000000046}");
    text += "[Software\\\\Classes\\\\TypeLib\\\\" + guids.back() + "\\\\1.0\\\\0\\\\win32] 1\r\n@=\"C:\\\\l" +
            std::to_string(i) + ".tlb\"\n\n";
  };
  for (int i = 0; text.size() < 600 * 1024; ++i) {
    key(i);
    text += "[Software\\\\Classes\\\\CLSID\\\\{x}] 1\n\"a\"=hex:" + std::string(i % 97, '0') + "\n\n";
    if (i == 500) text += "\"long\"=\"" + std::string(300 * 1024, 'y') + "\"\n";
  }
  key(-1);
  text.resize(text.size() - 2);  // the last line has no end
  scratch.Write("prefix/system.reg", text);
  const auto opened = posix::OpenWineRegistry((scratch / "prefix").string());
  ASSERT_NE(opened.registry, nullptr);
  posix::WineRegistry whole("whole");
  whole.AddText(text, false);
  for (const auto& guid : guids) {
    const auto read = opened.registry->Registrations(guid);
    ASSERT_EQ(read.size(), 1u) << guid;
    EXPECT_EQ(read[0].win32, whole.Registrations(guid).at(0).win32) << guid;
  }
}
