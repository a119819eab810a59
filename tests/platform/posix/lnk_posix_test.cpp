#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/lnk_format.h"
#include "platform/posix/shell_link_file.h"
#include "setup/mdl_shell_lnk.h"
#include "tests/platform/posix/posix_test_support.h"

using namespace setup_test;

namespace {

posix::ShellLinkData FullLink() {
  posix::ShellLinkData link;
  link.targetPath = "Z:\\opt\\tarvex\\tarvex.exe";
  link.workingDirectory = "Z:\\opt\\tarvex\\";
  link.arguments = "/x y";
  link.description = "Lumor Tarvex";
  link.iconLocation = "Z:\\opt\\tarvex\\icons.dll";
  link.iconIndex = 2;
  link.showCommand = 5;
  return link;
}

// The counted strings after the link info, in file order.
std::vector<std::string> StringData(const std::string& bytes) {
  std::size_t at = posix::kLnkHeaderSize;
  if (Read32(bytes, 0x14) & 0x02) at += Read32(bytes, at);
  std::vector<std::string> out;
  while (at + 4 < bytes.size()) {
    const std::size_t count =
        static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
    out.push_back(bytes.substr(at + 2, count));
    at += 2 + count;
  }
  return out;
}

}  // namespace

TEST(ShellLinkBytes, HeaderCarriesClsidFlagsIconIndexAndShowCommand) {
  const std::string bytes = *posix::ShellLinkBytes(FullLink());
  EXPECT_EQ(Read32(bytes, 0), 0x4Cu);
  EXPECT_EQ(bytes.substr(4, 16),
            std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16));
  EXPECT_EQ(Read32(bytes, 0x14), 0x02u | 0x04 | 0x10 | 0x20 | 0x40);  // no Unicode: code-page strings
  EXPECT_EQ(Read32(bytes, 0x38), 2u);
  EXPECT_EQ(Read32(bytes, 0x3C), 5u);
  EXPECT_EQ(bytes.substr(0x40, 2), std::string(2, '\0'));  // no hot key
  EXPECT_EQ(Read32(bytes, bytes.size() - 4), 0u);          // terminal block
}

TEST(ShellLinkBytes, LinkInfoHoldsTheTargetAsLocalBasePath) {
  const std::string bytes = *posix::ShellLinkBytes(FullLink());
  const std::string info = bytes.substr(posix::kLnkHeaderSize, Read32(bytes, posix::kLnkHeaderSize));
  EXPECT_EQ(Read32(info, 4), 0x1Cu);
  EXPECT_EQ(Read32(info, 8), 1u);  // volume ID and local base path
  const uint32_t volume = Read32(info, 12);
  EXPECT_EQ(Read32(info, volume + 4), 3u);  // fixed drive
  const uint32_t base = Read32(info, 16);
  EXPECT_EQ(std::string(info.c_str() + base), "Z:\\opt\\tarvex\\tarvex.exe");
  EXPECT_EQ(Read32(info, 20), 0u);
  EXPECT_EQ(Read32(info, 24), info.size() - 1);  // empty suffix closes the structure
}

TEST(ShellLinkBytes, StringDataFollowInTheirFixedOrderAndEmptyOnesAreLeftOut) {
  EXPECT_EQ(
      StringData(*posix::ShellLinkBytes(FullLink())),
      (std::vector<std::string>{"Lumor Tarvex", "Z:\\opt\\tarvex\\", "/x y", "Z:\\opt\\tarvex\\icons.dll"}));
  posix::ShellLinkData sparse;
  sparse.arguments = "a";
  const std::string bytes = *posix::ShellLinkBytes(sparse);
  EXPECT_EQ(Read32(bytes, 0x14), 0x20u);
  EXPECT_EQ(StringData(bytes), (std::vector<std::string>{"a"}));
}

TEST(ShellLinkBytes, TooLongStringIsRefused) {
  posix::ShellLinkData link = FullLink();
  link.description.assign(0x10000, 'x');
  EXPECT_FALSE(posix::ShellLinkBytes(link).has_value());
  link.description.resize(0xFFFF);
  EXPECT_TRUE(posix::ShellLinkBytes(link).has_value());
}

TEST(Utf8FromWide, EncodesPairsAndReplacesLoneSurrogates) {
  EXPECT_EQ(posix::Utf8FromWide(u"a\u00E9\u20AC\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(posix::Utf8FromWide(std::u16string(1, char16_t(0xD800)) + u"a"),
            "\xEF\xBF\xBD"
            "a");
}

class ShellLinkFileTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  posix::ShellLinkFiles factory{*codePage};

  void Create(const fs::path& link, const std::string& target, const std::string& args = "") {
    mdlShellLnk::CreateShortcut({factory, *codePage}, ZPath(link), target, ZPath(dir.Path()) + "\\", args,
                                target, 0, 5, "Lumor Tarvex");
  }
};

TEST_F(ShellLinkFileTest, LnkinfoReadsBackWhatWasSet) {
  const fs::path link = dir.Path() / "Tarvex.lnk";
  Create(link, "Z:\\opt\\Tarvex\\tarvex.exe", "/Open C:\\x.vbp");
  LnkInfo info = ReadWithLnkinfo(link);
  ASSERT_EQ(info.exitCode, 0) << info.output;
  EXPECT_EQ(info.fields["Local path"], "Z:\\opt\\Tarvex\\tarvex.exe");
  EXPECT_EQ(info.fields["Working directory"], ZPath(dir.Path()) + "\\");
  EXPECT_EQ(info.fields["Description"], "Lumor Tarvex");
  EXPECT_EQ(info.fields["Command line arguments"], "/Open C:\\x.vbp");
  EXPECT_EQ(info.fields["Icon location"], "Z:\\opt\\Tarvex\\tarvex.exe");
  EXPECT_EQ(info.fields["Icon index"], "0");
  EXPECT_EQ(Read32(ReadAll(link), 0x3C), 5u);
}

TEST_F(ShellLinkFileTest, CodePageTextIsKeptAsItsBytes) {
  const fs::path link = dir.Path() / "Tarvex.lnk";
  Create(link, "Z:\\opt\\Men\xFC\\tarvex.exe");
  LnkInfo info = ReadWithLnkinfo(link);
  ASSERT_EQ(info.exitCode, 0) << info.output;
  EXPECT_EQ(info.fields["Local path"], "Z:\\opt\\Men\xC3\xBC\\tarvex.exe");  // lnkinfo prints UTF-8
}

TEST_F(ShellLinkFileTest, SaveReplacesAnExistingFileAndLeavesNoTemporaryFile) {
  const fs::path link = dir.Path() / "Tarvex.lnk";
  WriteAll(link, std::string(4000, 'x'));
  Create(link, "Z:\\a.exe");
  const std::string first = ReadAll(link);
  EXPECT_EQ(Read32(first, 0), 0x4Cu);
  EXPECT_LT(first.size(), 4000u);
  Create(link, "Z:\\a.exe");
  EXPECT_EQ(ReadAll(link), first);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST_F(ShellLinkFileTest, ExistingTargetLendsItsSizeAndAttributes) {
  const fs::path target = dir.Path() / "real.exe";
  WriteAll(target, "12345");
  const fs::path link = dir.Path() / "Tarvex.lnk";
  Create(link, ZPath(target));
  const std::string bytes = ReadAll(link);
  EXPECT_EQ(Read32(bytes, 0x34), 5u);
  EXPECT_EQ(Read32(bytes, 0x18), 0x20u);
  EXPECT_NE(Read32(bytes, 0x2C) | Read32(bytes, 0x30), 0u);  // write time
}

TEST_F(ShellLinkFileTest, SaveFailuresComeBackAsHresults) {
  try {
    Create(dir.Path() / "missing" / "Tarvex.lnk", "Z:\\a.exe");
    FAIL() << "saving into a missing folder succeeded";
  } catch (const platform::RaisedError& error) {
    EXPECT_EQ(static_cast<uint32_t>(error.Number()), 0x80070003u);
  }
  fs::create_directory(dir.Path() / "Tarvex.lnk");
  try {
    Create(dir.Path() / "Tarvex.lnk", "Z:\\a.exe");
    FAIL() << "saving over a folder succeeded";
  } catch (const platform::RaisedError& error) {
    EXPECT_EQ(static_cast<uint32_t>(error.Number()), 0x80070005u);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}
