#include <gtest/gtest.h>

#include "pack/mdl_file_pack.h"
#include "platform/errors.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_probe_files.h"
#include "project/line_reader.h"
#include "tests/fakes/recording_ui.h"
#include "tests/platform/win32/temp_folder.h"

namespace {

using tests::FileExists;
using tests::ReadFileBytes;
using tests::TempFolder;
using tests::WriteFileBytes;

std::string ReadAll(platform::InputFile& input) {
  std::string bytes;
  char buffer[3];
  for (std::size_t n; (n = input.Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
  return bytes;
}

TEST(Win32FilesTest, ReadsAFileInPiecesAndFindsItWithoutRegardToCase) {
  TempFolder folder;
  WriteFileBytes(folder / "Main.frm", "Begin VB.Form\r\nEnd\r\n");
  win32::Win32Files files;
  auto input = files.OpenInput(folder / "MAIN.FRM");
  EXPECT_EQ(ReadAll(*input), "Begin VB.Form\r\nEnd\r\n");
  EXPECT_TRUE(files.Exists(folder / "main.frm"));
  EXPECT_FALSE(files.Exists(folder / "none.frm"));
}

TEST(Win32FilesTest, RefusesMissingFilesFoldersAndDevices) {
  TempFolder folder;
  win32::Win32Files files;
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

TEST(Win32FilesTest, AnOutputReplacesTheFileOnlyWhenClosed) {
  TempFolder folder;
  WriteFileBytes(folder / "App.vbp", "old\r\n");
  win32::Win32Files files;
  auto output = files.CreateOutput(folder / "App.vbp");
  output->Write("Type=Exe\r\n");
  EXPECT_EQ(ReadFileBytes(folder / "App.vbp"), "old\r\n");
  output->Close();
  EXPECT_EQ(ReadFileBytes(folder / "App.vbp"), "Type=Exe\r\n");
  // No temporary file stays behind.
  EXPECT_EQ(tests::NamesIn(folder.Path()), std::vector<std::string>{"App.vbp"});
}

TEST(Win32FilesTest, TheOpenSourceAndAReadOnlyFileCannotBeWritten) {
  TempFolder folder;
  WriteFileBytes(folder / "App.vbp", "source\r\n");
  WriteFileBytes(folder / "Locked.bas", "locked");
  ::SetFileAttributesA((folder / "Locked.bas").c_str(), FILE_ATTRIBUTE_READONLY);
  win32::Win32Files files;
  auto source = files.OpenInput(folder / "App.vbp");
  EXPECT_THROW(files.CreateOutput(folder / "app.VBP"), platform::FileError);
  EXPECT_THROW(files.CreateOutput(folder / "Locked.bas"), platform::FileError);
  WriteFileBytes(folder / "Other.bas", "other");
  EXPECT_THROW(files.CopyReplacing(folder / "Other.bas", folder / "App.vbp"), platform::FileError);
  EXPECT_THROW(files.CopyReplacing(folder / "Other.bas", folder / "Locked.bas"), platform::FileError);
  source.reset();
  EXPECT_EQ(ReadFileBytes(folder / "App.vbp"), "source\r\n");
  EXPECT_EQ(ReadFileBytes(folder / "Locked.bas"), "locked");
  EXPECT_EQ(tests::NamesIn(folder.Path()), (std::vector<std::string>{"App.vbp", "Locked.bas", "Other.bas"}));
}

TEST(Win32FilesTest, CopiesReplaceAndNameTheSourceTheyCopied) {
  TempFolder from;
  TempFolder to;
  WriteFileBytes(from / "Tools.bas", std::string(100000, 'x'));
  WriteFileBytes(to / "TOOLS.BAS", "older");
  win32::Win32Files files;
  const auto first = files.CopyReplacing(from / "Tools.bas", to / "Tools.bas");
  EXPECT_EQ(ReadFileBytes(to / "tools.bas"), std::string(100000, 'x'));
  EXPECT_EQ(tests::NamesIn(to.Path()).size(), 1u);
  // Another spelling of the same source is the same file; another file is not.
  const auto again = files.CopyReplacing(from.Path() + ".\\TOOLS.bas", to / "Copy.bas");
  EXPECT_EQ(first, again);
  WriteFileBytes(from / "Other.bas", "other");
  EXPECT_NE(files.CopyReplacing(from / "Other.bas", to / "Other.bas"), first);
}

TEST(Win32FilesTest, ACopyOntoItselfOrOntoThePendingOutputFails) {
  TempFolder folder;
  WriteFileBytes(folder / "Tools.bas", "tools");
  win32::Win32Files files;
  EXPECT_THROW(files.CopyReplacing(folder / "Tools.bas", folder / "tools.BAS"), platform::FileError);
  EXPECT_EQ(ReadFileBytes(folder / "Tools.bas"), "tools");
  auto output = files.CreateOutput(folder / "Packed.vbp");
  EXPECT_THROW(files.CopyReplacing(folder / "Tools.bas", folder / "PACKED.vbp"), platform::FileError);
  EXPECT_THROW(files.CreateOutput(folder / "Packed.vbp"), platform::FileError);
  output->Write("x\r\n");
  output->Close();
  EXPECT_EQ(ReadFileBytes(folder / "Packed.vbp"), "x\r\n");
  EXPECT_THROW(files.CopyReplacing(folder / "Missing.bas", folder / "M.bas"), platform::FileError);
  EXPECT_FALSE(FileExists(folder / "M.bas"));
}

TEST(Win32FilesTest, PacksTheProjectThroughTheRealFileSystem) {
  TempFolder source;
  TempFolder target;
  WriteFileBytes(source / "App.vbp", "Type=Exe\r\nForm=Main.frm\r\nName=\"App\"\r\n");
  WriteFileBytes(source / "Main.frm",
                 "VERSION 5.00\r\nBegin VB.Form frmMain\r\nEnd\r\nAttribute VB_Name = \"frmMain\"\r\n");
  WriteFileBytes(source / "Main.frx", std::string("\0\1\2", 3));
  mdlFile::ProjectModel model;
  model.filePath = source / "App.vbp";
  model.components.push_back({1, "frmMain", "Main.frm"});
  win32::Win32Files files;
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages;
  std::vector<std::string> failures;
  const mdlFile::PackContext context{files, pointer, messages, [&](const mdlFile::PackFailure& f) {
                                       failures.push_back(f.attempted + ": " + f.reason);
                                     }};
  EXPECT_TRUE(mdlFile::PackProject(model, target / "Packed.vbp", context))
      << ::testing::PrintToString(failures);
  EXPECT_EQ(ReadFileBytes(target / "Packed.vbp"), "Form=Main.frm\r\nType=Exe\r\nName=\"App\"\r\n");
  EXPECT_EQ(ReadFileBytes(target / "Main.frx"), std::string("\0\1\2", 3));
  EXPECT_EQ(tests::NamesIn(target.Path()), (std::vector<std::string>{"Main.frm", "Main.frx", "Packed.vbp"}));
}

TEST(Win32ProbeFilesTest, CreatesOnlyNewFilesAndDeletesThem) {
  TempFolder folder;
  win32::Win32ProbeFiles probes;
  auto created = probes.CreateExclusive(folder / "ABCDEFGH.tmp");
  ASSERT_EQ(created.outcome, platform::ProbeCreate::Created);
  EXPECT_EQ(probes.CreateExclusive(folder / "abcdefgh.TMP").outcome, platform::ProbeCreate::AlreadyExists);
  EXPECT_TRUE(created.file->Close());
  EXPECT_TRUE(probes.Delete(folder / "ABCDEFGH.tmp"));
  EXPECT_FALSE(FileExists(folder / "ABCDEFGH.tmp"));
  EXPECT_FALSE(probes.Delete(folder / "ABCDEFGH.tmp"));
  EXPECT_EQ(probes.CreateExclusive(folder / "no such folder\\X.tmp").outcome, platform::ProbeCreate::Failed);
}

}  // namespace
