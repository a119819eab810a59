#include <gtest/gtest.h>

#include "project/mdl_trim.h"

using namespace mdlTrim;

TEST(KeyNumber, ReadsTheWholeNumberAfterTheFirstCharacter) {
  EXPECT_EQ(KeyNumber("f0"), 0);
  EXPECT_EQ(KeyNumber("f7"), 7);
  EXPECT_EQ(KeyNumber("f12"), 12);
  EXPECT_EQ(KeyNumber("f10"), 10);
  EXPECT_EQ(KeyNumber("r3"), 3);
  EXPECT_EQ(KeyNumber(""), 0);
  EXPECT_EQ(KeyNumber("p"), 0);
}

TEST(KeyNumber, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(KeyNumber("f99999999999999"), 2147483647);
  EXPECT_EQ(KeyNumber("f2147483647"), 2147483647);
}

TEST(TextBeforeAndAfterLast, CutAtTheLastSeparatorOnly) {
  EXPECT_EQ(TextBeforeLast("C:\\Work\\App.vbp", '\\'), "C:\\Work");
  EXPECT_EQ(TextBeforeLast("C:\\App.vbp", '\\'), "C:");
  EXPECT_EQ(TextBeforeLast("App.vbp", '\\'), "App.vbp");
  EXPECT_EQ(TextBeforeLast("C:\\Work\\", '\\'), "C:\\Work");
  EXPECT_EQ(TextBeforeLast("", '\\'), "");
  EXPECT_EQ(TextBeforeLast("\\App.vbp", '\\'), "");
  EXPECT_EQ(TextBeforeLast("a\\\\b", '\\'), "a\\");

  EXPECT_EQ(TextAfterLast("..\\Shared\\Tools.bas", '\\'), "Tools.bas");
  EXPECT_EQ(TextAfterLast("Tools.bas", '\\'), "Tools.bas");
  EXPECT_EQ(TextAfterLast("C:\\Work\\", '\\'), "");
  EXPECT_EQ(TextAfterLast("\\App.vbp", '\\'), "App.vbp");
  EXPECT_EQ(TextAfterLast("a\\\\b", '\\'), "b");
}

TEST(TextBeforeAndAfterLast, ForwardSlashIsAnOrdinaryCharacter) {
  EXPECT_EQ(TextBeforeLast("C:/Work/App.vbp", '\\'), "C:/Work/App.vbp");
  EXPECT_EQ(TextAfterLast("C:/Work/App.vbp", '\\'), "C:/Work/App.vbp");
}

TEST(RemoveAll, RemovesEveryOccurrence) {
  EXPECT_EQ(RemoveAll("\"Sample Project\"", '"'), "Sample Project");
  EXPECT_EQ(RemoveAll("A\"B\"C", '"'), "ABC");
  EXPECT_EQ(RemoveAll("plain", '"'), "plain");
  EXPECT_EQ(RemoveAll("", '"'), "");
  EXPECT_EQ(RemoveAll(std::string("a\0\"b", 4), '"'), std::string("a\0b", 3));
}
