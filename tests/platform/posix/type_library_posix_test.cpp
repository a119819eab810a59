// Reading which type library a file holds, on Wine's real libraries and on spoilt copies of them, and
// reading a Wine prefix's registry files.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/posix/file_blocks.h"
#include "platform/posix/type_library_reader.h"
#include "platform/posix/wine_registry.h"
#include "tests/fakes/table_file.h"

namespace {

std::string Bytes(const std::string& file) {
  const std::string path =
      file.starts_with("/") ? file : std::string(TARVEX_SOURCE_DIR) + "/tests/data/" + file;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path << " is not there (scripts/install-deps installs Wine's libraries)";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return std::move(bytes).str();
}

std::string Said(const posix::TypeLibRead& read) {
  if (!read.identity) return read.problem;
  return read.identity->guid + " " + std::to_string(read.identity->major) + "." +
         std::to_string(read.identity->minor);
}

// From the bytes, and from the file a few blocks at a time.
TEST(TypeLibraryReader, ReadsWinesLibrariesAndTheBareForm) {
  for (const auto& row : fakes::ReadTable("deps/type-libraries.txt")) {
    EXPECT_EQ(Said(posix::ReadTypeLibrary(Bytes(row[0]), std::stoul(row[1]))), row[2]) << row[0];
    const std::string path =
        row[0].starts_with("/") ? row[0] : std::string(TARVEX_SOURCE_DIR) + "/tests/data/" + row[0];
    auto blocks = posix::FileBlocks::Open(path);
    ASSERT_TRUE(blocks.has_value()) << path;
    EXPECT_EQ(Said(posix::ReadTypeLibrary(*blocks, std::stoul(row[1]))), row[2]) << row[0];
    EXPECT_FALSE(blocks->failed()) << row[0];
  }
  EXPECT_FALSE(posix::FileBlocks::Open(TARVEX_SOURCE_DIR).has_value()) << "a folder is no library file";
}

TEST(TypeLibraryReader, SpoiltFilesGiveTheirReason) {
  for (const auto& row : fakes::ReadTable("deps/hostile-libraries.txt")) {
    std::string bytes = Bytes(row[0]);
    const std::size_t at = std::stoul(row[1], nullptr, 16);
    if (row[2] == "cut") {
      bytes.resize(at);
    } else {
      for (std::size_t i = 0; i * 2 < row[2].size(); ++i) {
        bytes[at + i] = static_cast<char>(std::stoul(row[2].substr(i * 2, 2), nullptr, 16));
      }
    }
    EXPECT_EQ(Said(posix::ReadTypeLibrary(bytes)), row[3]) << row[0] << " at " << row[1];
  }
}

// Every cut and every overwritten field of real files: a reason or the right identity, never a read out of
// range (the sanitizer build catches those) or a hang.
TEST(TypeLibraryReader, AnyCutOrOverwriteGivesAReasonOrTheLibrary) {
  for (const char* file :
       {"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb",
        "/usr/lib/i386-linux-gnu/wine/i386-windows/scrrun.dll", "deps/libraries/small-msft.tlb"}) {
    const std::string bytes = Bytes(file);
    const std::string right = Said(posix::ReadTypeLibrary(bytes));
    ASSERT_EQ(right.front(), '{') << file;
    for (std::size_t at = 0; at < bytes.size(); at += 1 + at / 64) {
      const auto cut = posix::ReadTypeLibrary(std::string_view(bytes).substr(0, at));
      EXPECT_TRUE(cut.identity ? Said(cut) == right : !cut.problem.empty()) << file << " cut at " << at;
      for (const char* fill : {"\xff\xff\xff\xff", "\x00\x00\x00\x00", "\x10\x00\x00\x80"}) {
        std::string spoilt = bytes;
        spoilt.replace(at, std::min<std::size_t>(4, bytes.size() - at), fill,
                       std::min<std::size_t>(4, bytes.size() - at));
        const auto read = posix::ReadTypeLibrary(spoilt);
        EXPECT_TRUE(read.identity.has_value() || !read.problem.empty()) << file << " at " << at;
      }
    }
  }
}

TEST(TypeLibraryReader, SltgChainsThatLoopOrRunOutAreRefused) {
  // Header: magic, two blocks, the chain starting at block 1; block entries: 1 -> 2 -> 1.
  std::string sltg("SLTG\x02\x00\x00\x00\x00\x00\x01\x00", 12);
  sltg.resize(0x24, '\0');
  sltg +=
      std::string("\x10\x00\x00\x00\x00\x00\x02\x00", 8) + std::string("\x10\x00\x00\x00\x00\x00\x01\x00", 8);
  EXPECT_EQ(Said(posix::ReadTypeLibrary(sltg)), "the type library's block chain loops");
  sltg[0x24 + 8 + 6] = 0;  // 1 -> 2, the end: no library block follows
  EXPECT_EQ(Said(posix::ReadTypeLibrary(sltg)), "the type library's library block is missing");
  EXPECT_EQ(Said(posix::ReadTypeLibrary(sltg.substr(0, 0x20))), "the type library's header is cut short");
}

// The registry files of tests/data/deps/prefix: keys in any case, str(2) values, the user's classes, and
// sections that are not a library's win32 or win64 key passed over.
TEST(WineRegistry, ReadsTypeLibKeysOfBothFiles) {
  posix::WineRegistry registry("test");
  registry.AddText(Bytes("deps/prefix/system.reg"), false);
  registry.AddText(Bytes("deps/prefix/user.reg"), true);
  const auto said = [&registry](const std::string& guid) {
    std::string text;
    for (const auto& r : registry.Registrations(guid)) {
      text += std::to_string(r.major) + "." + std::to_string(r.minor) + "/" + std::to_string(r.lcid) +
              (r.user ? " user" : " machine") + " win32=" + r.win32.value_or("-") +
              " win64=" + r.win64.value_or("-") + ";";
    }
    return text;
  };
  EXPECT_EQ(said("{00020430-0000-0000-c000-000000000046}"),
            "2.0/0 machine win32=C:\\windows\\system32\\stdole2.tlb win64=-;");
  EXPECT_EQ(said("{420B2830-E718-11CF-893D-00A0C9054228}"),
            "1.0/0 machine win32=C:\\windows\\system32\\scrrun.dll win64=-;");
  EXPECT_EQ(said("{EAB22AC0-30C1-11CF-A7EB-0000C05BAE0B}"),
            "1.1/0 machine win32=C:\\windows\\system32\\shdocvw.dll win64=-;");
  EXPECT_EQ(said("{ADB880A2-D8FF-11CF-9377-00AA003B7A11}"),
            "4.0/0 machine win32=- win64=C:\\windows\\system32\\hhctrl.ocx;");
  EXPECT_EQ(said("{F935DC20-1CF0-11D0-ADB9-00C04FD58A0B}"),
            "1.0/0 machine win32=C:\\windows\\system32\\wshom.ocx win64=-;");
  EXPECT_EQ(said("{0E59F1D2-1FBE-11D0-8FF2-00A0D10038BC}"),
            "1.0/0 user win32=C:\\windows\\system32\\msscript.ocx win64=-;");
  EXPECT_EQ(said("{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}"), "");
}

TEST(WineRegistry, MalformedTextIsPassedOver) {
  posix::WineRegistry registry("test");
  for (const char* text :
       {"[Software\\\\Classes\\\\Typelib\\\\{A}\\\\1.0\\\\0\\\\win32\n@=\"C:\\\\a.tlb",
        "[Software\\\\Classes\\\\Typelib\\\\{A}\\\\1.0\\\\0\\\\win32] 1\n@=str(2\n@=\"\n@=\"x\\",
        "[\n]\n[]\n@=\"C:\\\\b.tlb\"\n",
        "[Software\\\\Classes\\\\Typelib\\\\{A}\\\\1.fffff\\\\0\\\\win32]\n@=\"x\"", "\xff\xfe[\x00", ""}) {
    registry.AddText(text, false);
  }
  EXPECT_TRUE(registry.Registrations("{a}").empty());
  registry.AddText(R"([Software\\Classes\\Typelib\\{A}\\1.0\\0\\win32]
@="a \"b\" \x00e9\x41")",
                   false);
  const auto got = registry.Registrations("{a}");
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].win32.value_or("-"), "a \"b\" ?A");
}

}  // namespace
