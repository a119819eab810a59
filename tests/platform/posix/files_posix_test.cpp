#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <future>

#include "platform/errors.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/posix_text_files.h"
#include "tests/fakes/scratch_folder_posix.h"
#include "tests/setup/table_file.h"

namespace fs = std::filesystem;

namespace {

class PosixFiles : public ::testing::Test {
 protected:
  // The file's content, or "!" when it does not open.
  static std::string Content(const std::string& windowsPath, posix::PosixTextFiles& with) {
    try {
      const auto file = with.OpenInput(windowsPath);
      std::string all;
      char buffer[7];
      while (const auto n = file->Read(buffer, sizeof buffer)) all.append(buffer, n);
      return all;
    } catch (const platform::FileError&) {
      return "!";
    }
  }
  std::string Content(const std::string& relative) { return Content(scratch.Win(relative), files); }

  fakes::Scratch scratch;
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  posix::PosixTextFiles files{*codePage};
};

TEST_F(PosixFiles, WindowsPathsAreCleanedAsWindowsOpensThem) {
  for (const setup_test::Row& row : setup_test::ReadTable("windows_names.txt")) {
    const std::vector<std::string> expected(row.begin() + 1, row.end());
    if (expected == std::vector<std::string>{"!"}) {
      EXPECT_THROW(posix::WindowsNames(row[0]), platform::FileError) << row[0];
    } else {
      EXPECT_EQ(posix::WindowsNames(row[0]), expected) << row[0];
    }
  }
  EXPECT_THROW(posix::WindowsNames("Z:\\a|b"), platform::FileError);
  EXPECT_EQ(posix::WindowsFromHost("/home/ann/Demo.vbp", *codePage), "Z:\\home\\ann\\Demo.vbp");
  EXPECT_EQ(posix::WindowsFromHost("/", *codePage), "Z:\\");
  EXPECT_EQ(posix::WindowsFromHost("/caf\xc3\xa9/\xe2\x82\xac", *codePage), "Z:\\caf\xe9\\\x80");
  EXPECT_FALSE(posix::WindowsFromHost("/\xe4\xb8\xad", *codePage).has_value()) << "not in Windows-1252";
}

// Exact names first, then without regard to case (the first in byte order); ".." goes before the disk is
// asked; names are in the code page, the host's in UTF-8; only regular files open, and nothing blocks.
TEST_F(PosixFiles, NamesAreFoundAsWindowsFindsThem) {
  scratch.Write("Src/Forms/Main.FRM", "main");
  scratch.Write("Src/Lower.bas", "lower");
  scratch.Write("Src/lower.BAS", "other");
  scratch.Write("caf\xc3\xa9.frm", "utf8");
  scratch.Write("Here/rel.bas", "rel");
  scratch.Make("Folder.frm");
  ASSERT_EQ(::mkfifo((scratch / "Pipe.frm").c_str(), 0600), 0);
  const std::pair<std::string, std::string> cases[] = {{"src\\FORMS\\main.frm", "main"},
                                                       {"Src\\Lower.bas", "lower"},
                                                       {"SRC\\LOWER.BAS", "lower"},
                                                       {"Src/Forms/../Lower.bas", "lower"},
                                                       {"Src\\Forms\\..\\..\\Src\\.\\Lower.bas", "lower"},
                                                       {"Gone\\..\\Src\\Lower.bas", "lower"},
                                                       {"CAF\xe9.FRM", "utf8"},
                                                       {"Src\\Missing.bas", "!"},
                                                       {"Nope\\Lower.bas", "!"},
                                                       {"Folder.frm", "!"},
                                                       {"Pipe.frm", "!"}};
  auto attempt = std::async(std::launch::async, [&] {
    for (const auto& [path, content] : cases) EXPECT_EQ(Content(path), content) << path;
  });
  ASSERT_EQ(attempt.wait_for(std::chrono::seconds(10)), std::future_status::ready)
      << "opening a FIFO blocked";
  EXPECT_EQ(Content("Z:\\dev\\null", files), "!");

  const auto japanese = posix::MakeCodePage(932);
  posix::PosixTextFiles sjis(*japanese);
  scratch.Write("\xe6\x97\xa5\xe6\x9c\xac.bas", "sjis");  // in UTF-8 on disk
  const std::string folder = *posix::WindowsFromHost(scratch.Path().string(), *japanese);
  EXPECT_EQ(Content(folder + "\\\x93\xfa\x96\x7b.bas", sjis), "sjis");

  const auto previous = fs::current_path();
  fs::current_path(scratch / "Here");
  const std::string relative = Content("REL.bas", files);
  fs::current_path(previous);
  EXPECT_EQ(relative, "rel") << "a path without a drive starts in the current folder";
}

TEST(CodePages, Windows1252HasItsOwnTableAndTheOthersGoThroughIconv) {
  const auto cp = posix::MakeCodePage(1252);
  EXPECT_EQ(cp->ToUtf8("\x81\x8d\x8f\x90\x9d"), "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d") << "C1 controls";
  EXPECT_EQ(cp->ToUtf8("\x80\xe9\x9f"), "\xe2\x82\xac\xc3\xa9\xc5\xb8");
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(cp->FromUtf8(cp->ToUtf8(all)), all) << "every byte round-trips";
  EXPECT_FALSE(cp->FromUtf8("\xff").has_value()) << "ill-formed UTF-8";
  const auto gbk = posix::MakeCodePage(936);
  EXPECT_EQ(gbk->ToUtf8("\xd6\xd0"), "\xe4\xb8\xad");
  EXPECT_EQ(gbk->FromUtf8("\xe4\xb8\xad"), "\xd6\xd0");
  EXPECT_EQ(posix::MakeCodePage(932)->ToUtf8("a\x81"), "a\xef\xbf\xbd") << "undecodable bytes show";
  EXPECT_THROW(posix::MakeCodePage(12345), std::invalid_argument);
}

}  // namespace
