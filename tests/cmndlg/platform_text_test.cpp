// The portable platform pieces the control relies on: the saved-settings text and MulDiv.
#include <gtest/gtest.h>

#include <limits>

#include "platform/errors.h"
#include "cmndlg/mul_div.h"
#include "cmndlg/property_bag_text.h"

using namespace platform;
using namespace cmndlg;
using namespace std::string_literals;

namespace {

int32_t ParseError(std::string_view text) {
  try {
    ParsePropertyText(text);
  } catch (const RaisedError& error) {
    return error.Number();
  }
  return 0;
}

}  // namespace

TEST(PropertyText, ReadsStringsNumbersAndBooleans) {
  const auto properties = ParsePropertyText(
      "   Filter          =   \"Project Files (*.vbp)|*.vbp\"\r\n"
      "FontSize=8\n"
      "\tPrinterDefault = -1   \r"
      "\r\n"
      "DialogTitle = \"Say \"\"when\"\"\"\r\n"
      "Empty = \"\"\r\n"
      "Low = -2147483648");
  ASSERT_EQ(properties.size(), 6u);
  EXPECT_EQ(properties[0].name, "Filter");
  EXPECT_EQ(properties[0].value, PropertyValue("Project Files (*.vbp)|*.vbp"s));
  EXPECT_EQ(properties[1].value, PropertyValue(int32_t{8}));
  EXPECT_EQ(properties[2].name, "PrinterDefault");
  EXPECT_EQ(properties[2].value, PropertyValue(int32_t{-1}));
  EXPECT_EQ(properties[3].value, PropertyValue("Say \"when\""s));
  EXPECT_EQ(properties[4].value, PropertyValue(""s));
  EXPECT_EQ(properties[5].value, PropertyValue(std::numeric_limits<int32_t>::min()));
  EXPECT_TRUE(ParsePropertyText("").empty());
  EXPECT_TRUE(ParsePropertyText("\r\n  \r\n").empty());
}

TEST(PropertyText, MalformedTextIsAnErrorNeverACrash) {
  for (std::string_view bad :
       {"Filter", "Filter \"x\"", "= 5", "Filter = ", "Filter = \"open", "Filter = \"a\" b", "Size = 12abc",
        "Size = 2147483648", "Size = -2147483649", "Size = 1.5", "Size = --1", "Size = -", "F-ilter = 1",
        "A = 1\r\na = 2", "Filter = 'x'"}) {
    EXPECT_EQ(ParseError(bad), kInvalidPropertyValue) << bad;
  }
  EXPECT_EQ(ParseError("A = \"x\0y\""s), 0);  // a NUL is a byte like any other
}

TEST(PropertyText, FormatsWhatItReadsBack) {
  const std::vector<SavedProperty> properties{{"DialogTitle", "Say \"when\""s},
                                              {"FontBold", int16_t{-1}},
                                              {"Flags", int32_t{-2147483647 - 1}},
                                              {"Filter", "A|*.a"s}};
  const std::string text = FormatPropertyText(properties);
  EXPECT_EQ(
      text,
      "DialogTitle = \"Say \"\"when\"\"\"\r\nFontBold = -1\r\nFlags = -2147483648\r\nFilter = \"A|*.a\"\r\n");
  const auto back = ParsePropertyText(text);
  ASSERT_EQ(back.size(), 4u);
  EXPECT_EQ(back[0].value, properties[0].value);
  EXPECT_EQ(back[1].value, PropertyValue(int32_t{-1}));  // a Boolean comes back as its Long
  EXPECT_EQ(back[2].value, properties[2].value);
}

TEST(PropertyText, RefusesToWriteWhatCannotBeReadBack) {
  TextPropertyBag bag;
  EXPECT_THROW(bag.WriteProperty("FileName", "a\r\nb"s, ""s), RaisedError);
  EXPECT_THROW(bag.WriteProperty("File Name", "a"s, ""s), RaisedError);
  EXPECT_THROW(bag.WriteProperty("", int32_t{1}, int32_t{0}), RaisedError);
  EXPECT_TRUE(bag.Properties().empty());
}

TEST(TextPropertyBag, NamesCompareWithoutCase) {
  TextPropertyBag bag("filter = \"X\"\r\n");
  EXPECT_EQ(bag.ReadProperty("Filter", ""s), PropertyValue("X"s));
  EXPECT_EQ(bag.ReadProperty("FILTER", ""s), PropertyValue("X"s));
  EXPECT_EQ(bag.ReadProperty("Filters", "none"s), PropertyValue("none"s));
  bag.WriteProperty("FILTER", "Y"s, ""s);
  EXPECT_EQ(bag.Text(), "FILTER = \"Y\"\r\n");
}

TEST(TextPropertyBag, LeavesOutDefaultsAndForgetsAValueSetBackToItsDefault) {
  TextPropertyBag bag;
  bag.WriteProperty("Copies", int32_t{1}, int32_t{1});
  bag.WriteProperty("PrinterDefault", int16_t{-1}, int16_t{-1});
  bag.WriteProperty("Filter", "A"s, ""s);
  bag.WriteProperty("FontSize", int32_t{10}, int32_t{8});
  EXPECT_EQ(bag.Text(), "Filter = \"A\"\r\nFontSize = 10\r\n");
  bag.WriteProperty("FontSize", int32_t{8}, int32_t{8});
  EXPECT_EQ(bag.Text(), "Filter = \"A\"\r\n");
}

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(8, 96, 72), 11);
  EXPECT_EQ(MulDiv(-11, 72, 96), -8);
  EXPECT_EQ(MulDiv(-13, 72, 96), -10);
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(1, -1, 2), -1);
  EXPECT_EQ(MulDiv(1, 1, -2), -1);
  EXPECT_EQ(MulDiv(-1, -1, -2), -1);
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(5, 1, 4), 1);
  EXPECT_EQ(MulDiv(7, 1, 4), 2);
  EXPECT_EQ(MulDiv(0, 5, 3), 0);
}

TEST(MulDiv, UsesA64BitProductAndAnswersMinusOneOnFailure) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  EXPECT_EQ(MulDiv(kMax, kMax, kMax), kMax);
  EXPECT_EQ(MulDiv(kMin, kMin, kMin), kMin);
  EXPECT_EQ(MulDiv(kMin, 1, -1), -1);  // 2^31 does not fit
  EXPECT_EQ(MulDiv(kMax, 2, 1), -1);
  EXPECT_EQ(MulDiv(65536, 65536, 2), -1);
  EXPECT_EQ(MulDiv(65536, 65536, 4), 1073741824);
  EXPECT_EQ(MulDiv(5, 7, 0), -1);
  EXPECT_EQ(MulDiv(0, 0, 0), -1);
}
