#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include "platform/errors.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/posix_text_files.h"
#include "project/line_reader.h"
#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

class PosixFiles : public ::testing::Test {
 protected:
  void Write(const fs::path& relative, const std::string& content) { scratch.Write(relative.string(), content); }
  std::string Win(const std::string& relative) { return scratch.Win(relative); }
  std::string ReadAll(const std::string& windowsPath) {
    const auto file = files.OpenInput(windowsPath);
    std::string all;
    char buffer[7];
    while (const auto n = file->Read(buffer, sizeof buffer)) all.append(buffer, n);
    return all;
  }

  fakes::Scratch scratch;
  const fs::path root = scratch.Path();
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  posix::PosixTextFiles files{*codePage};
};

TEST_F(PosixFiles, HostPathsAreDriveZ) {
  EXPECT_EQ(posix::WindowsFromHost("/home/ann/Demo/Demo.vbp", *codePage), "Z:\\home\\ann\\Demo\\Demo.vbp");
  EXPECT_EQ(posix::WindowsFromHost("/", *codePage), "Z:\\");
  EXPECT_EQ(posix::WindowsFromHost("/caf\xc3\xa9", *codePage), "Z:\\caf\xe9");
  EXPECT_EQ(posix::WindowsFromHost("/\xe2\x82\xac", *codePage), "Z:\\\x80");
  EXPECT_FALSE(posix::WindowsFromHost("/\xe4\xb8\xad", *codePage).has_value()) << "not in Windows-1252";
}

TEST_F(PosixFiles, NamesAreCleanedAsWindowsOpensThem) {
  using V = std::vector<std::string>;
  EXPECT_EQ(posix::WindowsNames("Z:\\a\\\\b//c\\.\\d\\..\\e"), (V{"a", "b", "c", "e"}));
  EXPECT_EQ(posix::WindowsNames("Z:\\..\\..\\x"), (V{"x"}));
  EXPECT_EQ(posix::WindowsNames("z:/a/b. /c"), (V{"a", "b", "c"}));
  for (const char* bad : {"Z:\\a:b", "Z:\\a*b", "Z:\\a?", "Z:\\a|b", "Z:\\<a>", "Z:\\a\"b", "Z:\\a\tb", "C:\\a",
                          "\\\\server\\share\\a"}) {
    EXPECT_THROW(posix::WindowsNames(bad), platform::FileError) << bad;
  }
}

TEST_F(PosixFiles, NamesMatchExactlyFirstThenWithoutRegardToCase) {
  Write("Src/Forms/Main.FRM", "main");
  Write("Src/Lower.bas", "lower");
  Write("Src/lower.BAS", "other");
  EXPECT_EQ(ReadAll(Win("src\\FORMS\\main.frm")), "main");
  EXPECT_EQ(ReadAll(Win("Src\\Lower.bas")), "lower") << "exact match preferred";
  EXPECT_EQ(ReadAll(Win("SRC\\LOWER.BAS")), "lower") << "first in byte order: Lower.bas < lower.BAS";
  EXPECT_EQ(ReadAll(Win("Src/Forms/../Lower.bas")), "lower");
  EXPECT_EQ(ReadAll(Win("Src\\Forms\\..\\..\\Src\\.\\Lower.bas")), "lower");
  EXPECT_THROW(files.OpenInput(Win("Src\\Missing.bas")), platform::FileError);
  EXPECT_THROW(files.OpenInput(Win("Nope\\Lower.bas")), platform::FileError);
}

TEST_F(PosixFiles, DotDotIsResolvedBeforeTheFileSystemIsAsked) {
  Write("Proj/x.bas", "x");
  // "Gone" does not exist, yet Gone\.. vanishes lexically as on Windows.
  EXPECT_EQ(ReadAll(Win("Gone\\..\\Proj\\x.bas")), "x");
}

TEST_F(PosixFiles, CodePageNamesAreConvertedToUtf8HostNames) {
  Write("caf\xc3\xa9.frm", "utf8");
  EXPECT_EQ(ReadAll(Win("caf\xe9.frm")), "utf8");
  EXPECT_EQ(ReadAll(Win("CAF\xe9.FRM")), "utf8");
  const auto japanese = posix::MakeCodePage(932);
  posix::PosixTextFiles sjisFiles(*japanese);
  Write("\xe6\x97\xa5\xe6\x9c\xac.bas", "sjis");  // 日本 in UTF-8 on disk
  const auto file = sjisFiles.OpenInput(*posix::WindowsFromHost(root.string(), *japanese) + "\\\x93\xfa\x96\x7b.bas");
  char buffer[8];
  EXPECT_EQ(std::string(buffer, file->Read(buffer, sizeof buffer)), "sjis");
}

TEST_F(PosixFiles, OnlyRegularFilesOpenAndNothingBlocks) {
  fs::create_directories(root / "Folder.frm");
  ASSERT_EQ(::mkfifo((root / "Pipe.frm").c_str(), 0600), 0);
  auto attempt = std::async(std::launch::async, [&] {
    int failures = 0;
    for (const char* name : {"Folder.frm", "Pipe.frm"}) {
      try {
        files.OpenInput(Win(name));
      } catch (const platform::FileError&) {
        ++failures;
      }
    }
    return failures;
  });
  ASSERT_EQ(attempt.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "opening a FIFO blocked";
  EXPECT_EQ(attempt.get(), 2);
  EXPECT_THROW(files.OpenInput("Z:\\dev\\null"), platform::FileError);
}

TEST_F(PosixFiles, RelativePathsStartInTheCurrentFolder) {
  Write("Here/rel.bas", "rel");
  const auto previous = fs::current_path();
  fs::current_path(root / "Here");
  std::string content;
  EXPECT_NO_THROW(content = ReadAll("REL.bas"));
  fs::current_path(previous);
  EXPECT_EQ(content, "rel");
}

TEST(CodePages, Windows1252MapsItsUnassignedBytesToC1Controls) {
  const auto cp = posix::MakeCodePage(1252);
  EXPECT_EQ(cp->ToUtf8("\x81\x8d\x8f\x90\x9d"), "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d");
  EXPECT_EQ(cp->ToUtf8("\x80\xe9\x9f"), "\xe2\x82\xac\xc3\xa9\xc5\xb8");
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(cp->FromUtf8(cp->ToUtf8(all)), all) << "every byte round-trips";
  EXPECT_FALSE(cp->FromUtf8("\xff").has_value()) << "ill-formed UTF-8";
}

TEST(CodePages, OtherCodePagesGoThroughIconvAndShowUndecodableBytes) {
  const auto gbk = posix::MakeCodePage(936);
  EXPECT_EQ(gbk->ToUtf8("\xd6\xd0"), "\xe4\xb8\xad");
  EXPECT_EQ(gbk->FromUtf8("\xe4\xb8\xad"), "\xd6\xd0");
  EXPECT_EQ(posix::MakeCodePage(932)->ToUtf8("a\x81"), "a\xef\xbf\xbd");
  EXPECT_THROW(posix::MakeCodePage(12345), std::invalid_argument);
}

}  // namespace
