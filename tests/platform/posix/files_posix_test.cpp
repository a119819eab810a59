// Windows paths on the host. Case-insensitive names, "..", and names in the code page are also read through
// tarvex-cli by the project cases (tests/cli).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <future>

#include "platform/errors.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/posix_text_files.h"
#include "tests/fakes/scratch_folder_posix.h"
#include "tests/fakes/table_file.h"

const auto kCodePage = posix::MakeCodePage(1252);

TEST(HostPaths, WindowsPathsAreCleanedAsWindowsOpensThem) {
  for (const fakes::Row& row : fakes::ReadTable("platform/posix/windows_names.txt")) {
    const std::vector<std::string> expected(row.begin() + 1, row.end());
    if (expected == std::vector<std::string>{"!"}) {
      EXPECT_THROW(posix::WindowsNames(row[0]), platform::FileError) << row[0];
    } else {
      EXPECT_EQ(posix::WindowsNames(row[0]), expected) << row[0];
    }
  }
  EXPECT_THROW(posix::WindowsNames("Z:\\a|b"), platform::FileError);
  EXPECT_EQ(posix::WindowsFromHost("/home/ann/Demo.vbp", *kCodePage), "Z:\\home\\ann\\Demo.vbp");
  EXPECT_EQ(posix::WindowsFromHost("/", *kCodePage), "Z:\\");
  EXPECT_EQ(posix::WindowsFromHost("/caf\xc3\xa9/\xe2\x82\xac", *kCodePage), "Z:\\caf\xe9\\\x80");
  EXPECT_FALSE(posix::WindowsFromHost("/\xe4\xb8\xad", *kCodePage).has_value()) << "not in Windows-1252";
}

// An exact name is taken before one that differs in case, and of those the first in byte order; ".." goes
// before the disk is asked; only regular files open, and nothing blocks.
TEST(HostPaths, FilesAreFoundAsWindowsFindsThem) {
  fakes::Scratch scratch;
  scratch.Write("Src/Lower.bas", "lower");
  scratch.Write("Src/lower.BAS", "other");
  scratch.Write("Here/rel.bas", "rel");
  scratch.Make("Folder.frm");
  ASSERT_EQ(::mkfifo((scratch / "Pipe.frm").c_str(), 0600), 0);
  posix::PosixTextFiles files(*kCodePage);
  const auto content = [&](const std::string& path) -> std::string {
    try {
      char buffer[64];
      return std::string(buffer, files.OpenInput(path)->Read(buffer, sizeof buffer));
    } catch (const platform::FileError&) {
      return "!";
    }
  };
  auto attempt = std::async(std::launch::async, [&] {
    for (const fakes::Row& row : fakes::ReadTable("platform/posix/host_files.txt")) {
      EXPECT_EQ(content(scratch.Win(row.at(0))), row.at(1)) << row[0];
    }
  });
  ASSERT_EQ(attempt.wait_for(std::chrono::seconds(10)), std::future_status::ready)
      << "opening a FIFO blocked";
  EXPECT_EQ(content("Z:\\dev\\null"), "!");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(scratch / "Here");
  const std::string relative = content("REL.bas");
  std::filesystem::current_path(previous);
  EXPECT_EQ(relative, "rel") << "a path without a drive starts in the current folder";
}

TEST(CodePages, Windows1252HasItsOwnTableAndTheOthersGoThroughIconv) {
  EXPECT_EQ(kCodePage->ToUtf8("\x81\x8d\x8f\x90\x9d"), "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d")
      << "C1 controls";
  EXPECT_EQ(kCodePage->ToUtf8("\x80\xe9\x9f"), "\xe2\x82\xac\xc3\xa9\xc5\xb8");
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(kCodePage->FromUtf8(kCodePage->ToUtf8(all)), all) << "every byte round-trips";
  EXPECT_FALSE(kCodePage->FromUtf8("\xff").has_value()) << "ill-formed UTF-8";
  EXPECT_EQ(posix::MakeCodePage(936)->ToUtf8("\xd6\xd0"), "\xe4\xb8\xad");
  EXPECT_EQ(posix::MakeCodePage(936)->FromUtf8("\xe4\xb8\xad"), "\xd6\xd0");
  EXPECT_EQ(posix::MakeCodePage(932)->ToUtf8("a\x81"), "a\xef\xbf\xbd") << "undecodable bytes show";
  EXPECT_THROW(posix::MakeCodePage(12345), std::invalid_argument);
}
