// The project's files on the Windows file system. A whole pack through them is checked end to end by
// scripts/run-win32-tests, which compares tarvex-cli.exe's packed files with the Linux build's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/errors.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_probe_files.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// A fresh folder under the user's temporary folder, removed with everything in it at the end of a test.
class TempFolder {
 public:
  TempFolder() { fs::create_directory(path_); }
  ~TempFolder() { fs::remove_all(path_, ignored_); }
  std::string Path() const { return path_.string() + "\\"; }  // ending in "\"
  std::string operator/(const std::string& name) const { return Path() + name; }

 private:
  fs::path path_ = fs::temp_directory_path() / ("tvt" + std::to_string(std::random_device()()));
  std::error_code ignored_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFileBytes(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

Names NamesIn(const std::string& folder) {  // sorted
  Names names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Win32FilesTest, ReadsInPiecesWithoutRegardToCaseAndRefusesWhatIsNoFile) {
  TempFolder folder;
  WriteFileBytes(folder / "Main.frm", "Begin VB.Form\r\nEnd\r\n");
  win32::Win32Files files;
  auto input = files.OpenInput(folder / "MAIN.FRM");
  std::string bytes;
  char buffer[3];
  for (std::size_t n; (n = input->Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
  EXPECT_EQ(bytes, "Begin VB.Form\r\nEnd\r\n");
  EXPECT_TRUE(files.Exists(folder / "main.frm"));
  EXPECT_FALSE(files.Exists(folder / "none.frm"));
  for (const std::string& path :
       {folder / "missing.bas", folder.Path(), std::string("NUL"), folder / "CON"}) {
    try {
      files.OpenInput(path);
      ADD_FAILURE() << path << " opened";
    } catch (const platform::FileError& error) {
      EXPECT_EQ(error.Path(), path);
      EXPECT_STRNE(error.what(), "");
    }
  }
}

// An output replaces its file only when closed and leaves no temporary file; nothing overwrites the open
// source, a read-only file, the pending output or the copy's own source.
TEST(Win32FilesTest, WritesOnlyWhatItMayAndLeavesTheRestAsItWas) {
  TempFolder folder;
  for (const char* name : {"App.vbp", "Locked.bas", "Other.bas"}) WriteFileBytes(folder / name, name);
  ::SetFileAttributesA((folder / "Locked.bas").c_str(), FILE_ATTRIBUTE_READONLY);
  win32::Win32Files files;
  {
    auto source = files.OpenInput(folder / "App.vbp");
    EXPECT_THROW(files.CreateOutput(folder / "app.VBP"), platform::FileError);
    EXPECT_THROW(files.CopyReplacing(folder / "Other.bas", folder / "App.vbp"), platform::FileError);
  }
  EXPECT_THROW(files.CreateOutput(folder / "Locked.bas"), platform::FileError);
  EXPECT_THROW(files.CopyReplacing(folder / "Other.bas", folder / "Locked.bas"), platform::FileError);
  EXPECT_THROW(files.CopyReplacing(folder / "Other.bas", folder / "other.BAS"), platform::FileError);
  EXPECT_THROW(files.CopyReplacing(folder / "Missing.bas", folder / "M.bas"), platform::FileError);
  auto output = files.CreateOutput(folder / "App.vbp");
  output->Write("Type=Exe\r\n");
  EXPECT_THROW(files.CopyReplacing(folder / "Other.bas", folder / "APP.vbp"), platform::FileError);
  EXPECT_THROW(files.CreateOutput(folder / "App.vbp"), platform::FileError);
  EXPECT_EQ(ReadFileBytes(folder / "App.vbp"), "App.vbp");
  output->Close();
  for (const char* name : {"Locked.bas", "Other.bas"}) EXPECT_EQ(ReadFileBytes(folder / name), name);
  EXPECT_EQ(ReadFileBytes(folder / "App.vbp"), "Type=Exe\r\n");
  EXPECT_EQ(NamesIn(folder.Path()), (Names{"App.vbp", "Locked.bas", "Other.bas"}));
  ::SetFileAttributesA((folder / "Locked.bas").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32FilesTest, CopiesReplaceAndNameTheSourceTheyCopied) {
  TempFolder from, to;
  WriteFileBytes(from / "Tools.bas", std::string(100000, 'x'));
  WriteFileBytes(from / "Other.bas", "other");
  WriteFileBytes(to / "TOOLS.BAS", "older");
  win32::Win32Files files;
  const auto first = files.CopyReplacing(from / "Tools.bas", to / "Tools.bas");
  EXPECT_EQ(ReadFileBytes(to / "tools.bas"), std::string(100000, 'x'));
  EXPECT_EQ(NamesIn(to.Path()).size(), 1u);
  // Another spelling of the same source is the same file; another file is not.
  EXPECT_EQ(files.CopyReplacing(from.Path() + ".\\TOOLS.bas", to / "Copy.bas"), first);
  EXPECT_NE(files.CopyReplacing(from / "Other.bas", to / "Other.bas"), first);
}

TEST(Win32ProbeFilesTest, CreatesOnlyNewFilesAndDeletesThem) {
  TempFolder folder;
  win32::Win32ProbeFiles probes;
  auto created = probes.CreateExclusive(folder / "ABCDEFGH.tmp");
  ASSERT_EQ(created.outcome, platform::ProbeCreate::Created);
  EXPECT_EQ(probes.CreateExclusive(folder / "abcdefgh.TMP").outcome, platform::ProbeCreate::AlreadyExists);
  EXPECT_TRUE(created.file->Close());
  EXPECT_TRUE(probes.Delete(folder / "ABCDEFGH.tmp"));
  EXPECT_TRUE(NamesIn(folder.Path()).empty());
  EXPECT_FALSE(probes.Delete(folder / "ABCDEFGH.tmp"));
  EXPECT_EQ(probes.CreateExclusive(folder / "no such folder\\X.tmp").outcome, platform::ProbeCreate::Failed);
}

}  // namespace
