#include <vector>

#include "tests/cmndlg/fixture.h"

using namespace cmndlg;

TEST_F(CmnDlgTest, NewControlHoldsZerosFalseAndEmptyTexts) {
  EXPECT_EQ(dlg.Copies(), 0);
  EXPECT_EQ(dlg.FontSize(), 0);
  EXPECT_EQ(dlg.MaxFileSize(), 0);
  EXPECT_EQ(dlg.Orientation(), 0);
  EXPECT_EQ(dlg.PrinterDefault(), vbFalse);
  EXPECT_EQ(dlg.FileTitle(), "");
  EXPECT_EQ(dlg.hdc(), 0);
  EXPECT_EQ(dlg.LastError(), 0);
  EXPECT_TRUE(container.log.empty());
}

TEST_F(CmnDlgTest, EverySetterStoresThenAnnouncesItsKey) {
  std::vector<std::string> expected;
  auto check = [&](const char* key, auto&& set, auto&& get, auto value) {
    set(value);
    expected.push_back(key);
    EXPECT_EQ(get(), value) << key;
  };
  check(
      "Color", [&](int32_t v) { dlg.setColor(v); }, [&] { return dlg.Color(); }, int32_t{0x123456});
  check(
      "Copies", [&](int32_t v) { dlg.setCopies(v); }, [&] { return dlg.Copies(); }, int32_t{0});
  check(
      "DefaultExt", [&](std::string v) { dlg.setDefaultExt(v); }, [&] { return dlg.DefaultExt(); },
      std::string("vbp"));
  check(
      "DialogTitle", [&](std::string v) { dlg.setDialogTitle(v); }, [&] { return dlg.DialogTitle(); },
      std::string("Pick"));
  check(
      "FileName", [&](std::string v) { dlg.setFileName(v); }, [&] { return dlg.FileName(); },
      std::string("C:\\a.vbp"));
  check(
      "Filter", [&](std::string v) { dlg.setFilter(v); }, [&] { return dlg.Filter(); }, std::string("A|*.a"));
  check(
      "FilterIndex", [&](int32_t v) { dlg.setFilterIndex(v); }, [&] { return dlg.FilterIndex(); },
      int32_t{2});
  check(
      "Flags", [&](int32_t v) { dlg.setFlags(v); }, [&] { return dlg.flags(); }, int32_t{-8});
  check(
      "FontBold", [&](int16_t v) { dlg.setFontBold(v); }, [&] { return dlg.FontBold(); }, vbTrue);
  check(
      "FontCharset", [&](int32_t v) { dlg.setFontCharset(v); }, [&] { return dlg.FontCharset(); },
      int32_t{256});
  check(
      "FontItalic", [&](int16_t v) { dlg.setFontItalic(v); }, [&] { return dlg.FontItalic(); }, int16_t{1});
  check(
      "FontName", [&](std::string v) { dlg.setFontName(v); }, [&] { return dlg.FontName(); },
      std::string("Arial"));
  check(
      "FontSize", [&](int32_t v) { dlg.setFontSize(v); }, [&] { return dlg.FontSize(); }, int32_t{-5});
  check(
      "FontStrikeThru", [&](int16_t v) { dlg.setFontStrikeThru(v); }, [&] { return dlg.FontStrikeThru(); },
      int16_t{255});
  check(
      "FontUnderline", [&](int16_t v) { dlg.setFontUnderline(v); }, [&] { return dlg.FontUnderline(); },
      vbTrue);
  check(
      "FromPage", [&](int32_t v) { dlg.setFromPage(v); }, [&] { return dlg.FromPage(); }, int32_t{70000});
  check(
      "HelpCommand", [&](int32_t v) { dlg.setHelpCommand(v); }, [&] { return dlg.HelpCommand(); },
      int32_t{3});
  check(
      "HelpContext", [&](int32_t v) { dlg.setHelpContext(v); }, [&] { return dlg.HelpContext(); },
      int32_t{-1});
  check(
      "HelpFile", [&](std::string v) { dlg.setHelpFile(v); }, [&] { return dlg.HelpFile(); },
      std::string("x.hlp"));
  check(
      "HelpKey", [&](std::string v) { dlg.setHelpKey(v); }, [&] { return dlg.HelpKey(); }, std::string("k"));
  check(
      "InitDir", [&](std::string v) { dlg.setInitDir(v); }, [&] { return dlg.InitDir(); },
      std::string("C:\\"));
  check(
      "Max", [&](int32_t v) { dlg.setMax(v); }, [&] { return dlg.Max(); }, int32_t{24});
  check(
      "MaxFileSize", [&](int32_t v) { dlg.setMaxFileSize(v); }, [&] { return dlg.MaxFileSize(); },
      int32_t{0});
  check(
      "Min", [&](int32_t v) { dlg.setMin(v); }, [&] { return dlg.Min(); }, int32_t{8});
  check(
      "Orientation", [&](int32_t v) { dlg.setOrientation(v); }, [&] { return dlg.Orientation(); },
      int32_t{2});
  check(
      "PrinterDefault", [&](int16_t v) { dlg.setPrinterDefault(v); }, [&] { return dlg.PrinterDefault(); },
      vbFalse);
  check(
      "ToPage", [&](int32_t v) { dlg.setToPage(v); }, [&] { return dlg.ToPage(); }, int32_t{-3});
  EXPECT_EQ(container.Announced(), expected);
}

TEST_F(CmnDlgTest, SettingTheSameValueStillAnnounces) {
  dlg.setFilter("A");
  dlg.setFilter("A");
  dlg.setFlags(0);
  EXPECT_EQ(container.Announced(), (std::vector<std::string>{"Filter", "Filter", "Flags"}));
}

TEST_F(CmnDlgTest, StringsAreCopiedWithTheirBytesUnchanged) {
  std::string name("C:\\caf\xE9\0x", 8);
  dlg.setFileName(name);
  name[0] = 'D';
  EXPECT_EQ(dlg.FileName(), std::string("C:\\caf\xE9\0x", 8));
}

TEST_F(CmnDlgTest, AFailedAnnouncementKeepsTheNewValueAndPassesTheErrorOn) {
  container.failAnnouncing = "FontSize";
  EXPECT_EQ(RaisedNumber([&] { dlg.setFontSize(12); }), fakes::kContainerFailure);
  EXPECT_EQ(dlg.FontSize(), 12);
}

TEST_F(CmnDlgTest, ActionOutsideOneToSixDoesNothing) {
  dlg.setAction(3);  // a cancelled colour dialog leaves LastError at 32755
  ASSERT_EQ(dlg.LastError(), kCancelError);
  dialogs.calls.clear();
  container.log.clear();
  for (int32_t value : {0, 7, -1, 2147483647}) {
    EXPECT_EQ(RaisedNumber([&] { dlg.setAction(value); }), 0);
  }
  EXPECT_TRUE(dialogs.calls.empty());
  EXPECT_TRUE(container.log.empty());
  EXPECT_EQ(dlg.LastError(), kCancelError);
}

template <typename T>
concept HasActionGetter = requires(T& control) {
  control.Action();
};
static_assert(!HasActionGetter<CmnDlg>, "Action is set only");

TEST_F(CmnDlgTest, ActionRunsEachMethodByNumber) {
  const std::vector<std::string> expected{"GetOpenFileNameA", "GetSaveFileNameA", "ChooseColorA",
                                          "GetDeviceCaps",    "ChooseFontA",      "PrintDlgA",
                                          "WinHelpA"};
  for (int32_t value = 1; value <= 6; ++value) dlg.setAction(value);
  EXPECT_EQ(dialogs.calls, expected);
  EXPECT_TRUE(container.Announced().empty());
}

TEST_F(CmnDlgTest, ActionOneIsShowOpenIncludingItsResults) {
  dialogs.answerOpen = fakes::ChooseFile("C:\\Work\\App.vbp", 1, 0x4);
  dlg.setAction(1);
  EXPECT_EQ(dlg.FileName(), "C:\\Work\\App.vbp");
  EXPECT_EQ(dlg.FileTitle(), "App.vbp");
  EXPECT_EQ(dlg.flags(), 4);
  EXPECT_EQ(dlg.LastError(), 0);
  ASSERT_EQ(dialogs.opens.size(), 1u);
  EXPECT_EQ(dialogs.opens[0].title, "Open");
}

TEST_F(CmnDlgTest, ActionSixIsShowHelpAndErrorsReachTheSetter) {
  dlg.setHelpFile("a.hlp");
  dialogs.helpResult = 0;
  dlg.setAction(6);
  EXPECT_EQ(dlg.LastError(), kCancelError);
  ASSERT_EQ(dialogs.helps.size(), 1u);
  EXPECT_EQ(dialogs.helps[0].helpFile, "a.hlp");

  container.failParentHwnd = true;
  EXPECT_EQ(RaisedNumber([&] { dlg.setAction(6); }), fakes::kContainerFailure);
  EXPECT_EQ(dlg.LastError(), 0);
  dlg.setFileName(std::string(260, 'x'));
  container.failParentHwnd = false;
  EXPECT_EQ(RaisedNumber([&] { dlg.setAction(2); }), kInvalidArgument);
}
