// Windows paths on the host. Case-insensitive names, "..", and names in the code page are also read through
// tarvex-cli by the project cases (tests/cli).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <future>
#include <map>

#include "base/folded_names.h"
#include "base/windows_path.h"
#include "pack/mdl_file_pack.h"
#include "platform/errors.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_text_files.h"
#include "project/mdl_trim.h"
#include "tests/fakes/scratch_folder_posix.h"
#include "tests/fakes/scripted_dialogs.h"
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
  // Longer than Windows opens: refused before the path is taken apart and copied.
  EXPECT_THROW(posix::WindowsNames("Z:\\" + std::string(40000, 'a')), platform::FileError);
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

// Every code page converts a name whole both ways: a stateful converter (1258) is flushed at the end.
TEST(CodePages, NamesRoundTripThroughEveryCodePage) {
  std::map<int, std::vector<std::string>> names;
  for (const fakes::Row& row : fakes::ReadTable("platform/posix/code_page_names.txt")) {
    names[std::stoi(row[0])].assign(row.begin() + 1, row.end());
  }
  for (const int number : {874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258}) {
    const auto codePage = posix::MakeCodePage(number);
    std::vector<std::string> tried = names[0];
    tried.insert(tried.end(), names[number].begin(), names[number].end());
    for (const std::string& name : tried) {
      const auto bytes = codePage->FromUtf8(name);
      ASSERT_TRUE(bytes.has_value()) << number << ": " << name;
      EXPECT_EQ(codePage->ToUtf8(*bytes), name) << number;
      // The host name found for a Windows path is the name spelled, whatever the code page.
      EXPECT_EQ(posix::SpelledHostPath("Z:\\d\\" + *bytes, *codePage), "/d/" + name) << number;
    }
  }
}

// In a double-byte code page the second byte of a character is never a separator, nor a letter to fold.
TEST(CodePages, DoubleByteCharactersStayWhole) {
  for (const fakes::Row& row : fakes::ReadTable("platform/posix/double_byte_names.txt")) {
    const auto lead = posix::MakeCodePage(std::stoi(row[0]))->LeadBytes();
    std::vector<std::string> expected;
    for (auto name = row.begin() + 2; name != row.end(); ++name) expected.push_back(fakes::Unescaped(*name));
    const std::string path = fakes::Unescaped(row.at(1));
    if (expected == std::vector<std::string>{"!"}) {
      EXPECT_THROW(posix::WindowsNames(path, lead), platform::FileError) << row[1];
    } else {
      EXPECT_EQ(posix::WindowsNames(path, lead), expected) << row[1];
    }
  }
  const auto lead = posix::MakeCodePage(932)->LeadBytes();
  // 0x83 0x5A and 0x83 0x7A are two katakana that differ only in their second byte's ASCII case.
  EXPECT_FALSE(mdlTrim::EqualsIgnoringCase("\x83\x5A.bas", "\x83\x7A.bas", lead));
  EXPECT_TRUE(mdlTrim::EqualsIgnoringCase("\x83\x5A.BAS", "\x83\x5A.bas", lead));
  EXPECT_EQ(mdlTrim::TextAfterLast("a\\\x95\x5C.bas", '\\', lead), "\x95\x5C.bas");
  EXPECT_EQ(mdlTrim::TextBeforeLast("a\\\x95\x5C\\b", '\\', lead), "a\\\x95\x5C");
  // "The last four characters": five double-byte characters keep one.
  EXPECT_EQ(mdlTrim::StemLength("\x95\x5C\x95\x5C\x95\x5C\x95\x5C\x95\x5C", 4, lead), 2u);
  EXPECT_EQ(mdlTrim::StemLength("\x95\x5C.frm", 4, lead), 2u);
  EXPECT_EQ(mdlTrim::StemLength("\x95\x5C", 4, lead), std::string::npos);
  EXPECT_TRUE(mdlFile::IsPlainFileName("\x95\x5C.bas", lead));
  EXPECT_FALSE(mdlFile::IsPlainFileName("\x95\x5C.bas"));
  EXPECT_EQ(base::SplitWindowsPath("a/\x95\x5C.bas", lead).name, "\x95\x5C.bas");
  EXPECT_EQ(base::SplitWindowsPath("a/\x95\x5C.bas").name, ".bas") << "without lead bytes, as before";
  // The one folded listing: names that differ in a second byte stay apart; of names that fold alike
  // the first in byte order answers, whatever order they came in.
  base::FoldedNames folded(lead);
  for (const char* name : {"\x83\x5A.bas", "b.BAS", "B.bas", "b.bas"}) folded.Add(name, name);
  EXPECT_EQ(folded.Find("\x83\x7A.bas"), nullptr);
  ASSERT_NE(folded.Find("\x83\x5A.BAS"), nullptr);
  EXPECT_EQ(*folded.Find("B.BAS"), "B.bas");
}

// A replacement takes the name only while the file is still the one that was read: another program's
// newer version, or a file with a second name, is left as it is, with no temporary file beside it.
TEST(ReplaceWhole, KeepsAFileChangedAfterItWasRead) {
  using Change = std::function<void(const fakes::Scratch&)>;
  const std::vector<std::pair<std::string, Change>> changes{
      {"nothing", [](const fakes::Scratch&) {}},
      {"new bytes", [](const fakes::Scratch& s) { s.Write("F.bas", "newer\n"); }},
      {"same size, later time",
       [](const fakes::Scratch& s) {
         s.Write("F.bas", "b\nb\n");
         const timespec times[2]{{0, UTIME_OMIT}, {2000000000, 0}};
         ::utimensat(AT_FDCWD, (s / "F.bas").c_str(), times, 0);
       }},
      {"another file renamed over it",
       [](const fakes::Scratch& s) {
         s.Write("G.bas", "a\na\n");
         std::filesystem::rename(s / "G.bas", s / "F.bas");
       }},
      {"a second name",
       [](const fakes::Scratch& s) { std::filesystem::create_hard_link(s / "F.bas", s / "H.bas"); }},
  };
  for (const bool unnamed : {true, false}) {
    for (const auto& [what, change] : changes) {
      SCOPED_TRACE(what + (unnamed ? ", unnamed" : ", named"));
      fakes::Scratch s;
      s.Write("F.bas", "a\na\n");
      posix::PosixPackFiles files(*kCodePage);
      if (!unnamed) files.UseNamedTemporaryFiles();
      const platform::FileState read = files.StateOf(s.Win("F.bas"));
      change(s);
      const std::string before = s.Read("F.bas");
      const bool changed = what != "nothing";
      if (changed) {
        EXPECT_THROW(files.ReplaceWhole(s.Win("F.bas"), "a\r\na\r\n", &read), platform::FileError);
      } else {
        files.ReplaceWhole(s.Win("F.bas"), "a\r\na\r\n", &read);
      }
      EXPECT_EQ(s.Read("F.bas"), changed ? before : "a\r\na\r\n");
      for (const std::string& name : s.NamesIn("")) EXPECT_FALSE(name.starts_with(".tarvex-")) << name;
    }
  }
}

// Under 932 a name is found without regard to case by characters, by the host mapping and by a pack's
// folder listing alike: ア (83 41) and ヂ (83 61) differ only in a second byte's ASCII case, and 表 (95 5C)
// ends in the byte of "\".
TEST(PackFiles, FolderListingsFoldByCharacters) {
  fakes::Scratch scratch;
  scratch.Write("\xe3\x82\xa2.bas", "a");
  scratch.Write("\xe8\xa1\xa8.frm", "f");
  const auto codePage = posix::MakeCodePage(932);
  const std::string folder = scratch.Win() + "\\";
  posix::PosixPackFiles files(*codePage);
  const auto found = [&] {
    std::string seen;
    for (const char* name : {"\x83\x41.BAS", "\x83\x61.bas", "\x95\x5C.FRM"})
      seen += files.Exists(folder + name) ? '+' : '-';
    return seen;
  };
  EXPECT_EQ(found(), "+-+") << "through the host mapping";
  const auto held = files.OpenInput(folder + "\x95\x5C.frm");  // while a file is held, the listing answers
  EXPECT_EQ(found(), "+-+") << "through the pack's listing";
}
