#include <gtest/gtest.h>

#include "app/mdl_param.h"

using mdlParam::HasSwitch;
using mdlParam::ParseSwitches;
using mdlParam::Switches;

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries Parsed(const std::string& commandLine) {
  ParseSwitches(commandLine);
  Entries out;
  for (const auto& entry : Switches()) out.emplace_back(entry.name, entry.value);
  return out;
}

}  // namespace

TEST(ParseSwitches, EmptyCommandLineGivesAnEmptyTable) {
  ParseSwitches("/a");
  EXPECT_EQ(Parsed(""), Entries{});
  EXPECT_EQ(HasSwitch("Setup"), 0);
  EXPECT_EQ(HasSwitch(""), 0);
}

TEST(ParseSwitches, EverySpellingOfSetupIsFound) {
  for (const std::string line :
       {"/Setup", "/setup", "/SETUP", "/  Setup", "/Setup=1", "/Setup:yes", "/x /Setup",
        "C:\\Projects\\App.vbp /Setup", "//Setup", "/Setup/", "/Setup  "}) {
    ParseSwitches(line);
    EXPECT_EQ(HasSwitch("Setup"), -1) << line;
  }
}

TEST(ParseSwitches, NearMissesAreNotSetup) {
  for (const std::string line : {"/setup =1", "-setup", "/setupx", "setup", "Setup", "/set up", "\\Setup"}) {
    ParseSwitches(line);
    EXPECT_EQ(HasSwitch("Setup"), 0) << line;
  }
}

TEST(ParseSwitches, SplitsAtTheFirstSeparatorAndKeepsTheValueAsWritten) {
  EXPECT_EQ(Parsed("/a=b:c"), (Entries{{"a", "b:c"}}));
  EXPECT_EQ(Parsed("/a:b=c"), (Entries{{"a", "b=c"}}));
  EXPECT_EQ(Parsed("/Name=MiXeD"), (Entries{{"name", "MiXeD"}}));
  EXPECT_EQ(Parsed("/setup =1"), (Entries{{"setup ", "1"}}));
  EXPECT_EQ(Parsed("/x= spaced  "), (Entries{{"x", " spaced"}}));
  EXPECT_EQ(Parsed("/=v"), (Entries{{"", "v"}}));
  EXPECT_EQ(Parsed("/k="), (Entries{{"k", ""}}));
}

TEST(ParseSwitches, TextBeforeTheFirstSlashIsAValueWithoutName) {
  EXPECT_EQ(Parsed("setup"), (Entries{{"", "setup"}}));
  EXPECT_EQ(Parsed("MyFile.vbp"), (Entries{{"", "MyFile.vbp"}}));
  EXPECT_EQ(Parsed("C:\\Projects\\App.vbp /Setup"), (Entries{{"c", "\\Projects\\App.vbp"}, {"setup", ""}}));
  // Only the very first item can lack a name; later ones are switches.
  EXPECT_EQ(Parsed("a/B"), (Entries{{"", "a"}, {"b", ""}}));
}

TEST(ParseSwitches, EmptyItemsMakeNoEntryButBlankOnesDo) {
  EXPECT_EQ(Parsed("//Setup"), (Entries{{"setup", ""}}));
  EXPECT_EQ(Parsed("/Setup/"), (Entries{{"setup", ""}}));
  EXPECT_EQ(Parsed("/a / /b"), (Entries{{"a", ""}, {"", ""}, {"b", ""}}));
  EXPECT_EQ(Parsed("   "), (Entries{{"", ""}}));
  EXPECT_EQ(Parsed("/"), Entries{});
  EXPECT_EQ(Parsed("///"), Entries{});
}

TEST(ParseSwitches, KeepsOrderAndRepeatedNames) {
  EXPECT_EQ(Parsed("/b=2 /a=1 /b=3"), (Entries{{"b", "2"}, {"a", "1"}, {"b", "3"}}));
  ParseSwitches("/b=2 /a=1 /b=3");
  EXPECT_EQ(HasSwitch("b"), -1);
  EXPECT_EQ(HasSwitch("a"), -1);
}

TEST(HasSwitch, TrimsAndLowerCasesTheQuestionOnly) {
  ParseSwitches("/Setup /x y");
  EXPECT_EQ(HasSwitch("  SETUP "), -1);
  EXPECT_EQ(HasSwitch("x y"), -1);
  EXPECT_EQ(HasSwitch("X Y"), -1);
  EXPECT_EQ(HasSwitch("x"), 0);
  // A blank item's entry has an empty name, so the empty question finds it.
  EXPECT_EQ(HasSwitch(""), 0);
  ParseSwitches("/a / /b");
  EXPECT_EQ(HasSwitch("   "), -1);
}
