#include <string>
#include <vector>

#include "cmndlg/main_window_settings.h"
#include "cmndlg/property_conversion.h"
#include "cmndlg/property_bag_text.h"
#include "tests/cmndlg/fixture.h"

using namespace cmndlg;

namespace {

const std::vector<std::string> kSavedKeys{
    "Color",       "Copies",         "DefaultExt",    "DialogTitle", "FileName",    "Filter",
    "FilterIndex", "Flags",          "FontBold",      "FontCharset", "FontItalic",  "FontName",
    "FontSize",    "FontStrikeThru", "FontUnderline", "FromPage",    "HelpCommand", "HelpContext",
    "HelpFile",    "HelpKey",        "InitDir",       "Max",         "MaxFileSize", "Min",
    "Orientation", "PrinterDefault", "ToPage"};

void ExpectCreationValues(const CmnDlg& dlg) {
  EXPECT_EQ(dlg.Color(), 0);
  EXPECT_EQ(dlg.Copies(), 1);
  EXPECT_EQ(dlg.DefaultExt(), "");
  EXPECT_EQ(dlg.DialogTitle(), "");
  EXPECT_EQ(dlg.FileName(), "");
  EXPECT_EQ(dlg.FilterIndex(), 0);
  EXPECT_EQ(dlg.flags(), 0);
  EXPECT_EQ(dlg.FontBold(), vbFalse);
  EXPECT_EQ(dlg.FontCharset(), 0);
  EXPECT_EQ(dlg.FontItalic(), vbFalse);
  EXPECT_EQ(dlg.FontName(), "");
  EXPECT_EQ(dlg.FontSize(), 8);
  EXPECT_EQ(dlg.FontStrikeThru(), vbFalse);
  EXPECT_EQ(dlg.FontUnderline(), vbFalse);
  EXPECT_EQ(dlg.FromPage(), 0);
  EXPECT_EQ(dlg.HelpCommand(), 0);
  EXPECT_EQ(dlg.HelpContext(), 0);
  EXPECT_EQ(dlg.HelpFile(), "");
  EXPECT_EQ(dlg.HelpKey(), "");
  EXPECT_EQ(dlg.InitDir(), "");
  EXPECT_EQ(dlg.Max(), 0);
  EXPECT_EQ(dlg.MaxFileSize(), 260);
  EXPECT_EQ(dlg.Min(), 0);
  EXPECT_EQ(dlg.Orientation(), 1);
  EXPECT_EQ(dlg.PrinterDefault(), vbTrue);
  EXPECT_EQ(dlg.ToPage(), 0);
  EXPECT_EQ(dlg.FileTitle(), "");
  EXPECT_EQ(dlg.hdc(), 0);
  EXPECT_EQ(dlg.LastError(), 0);
}

// Every saved property away from its default, Booleans at -1 or 0 as they arrive from loading.
void SetNonDefaults(CmnDlg& dlg) {
  dlg.setColor(0xFF00FF);
  dlg.setCopies(3);
  dlg.setDefaultExt("vbp");
  dlg.setDialogTitle("Say \"when\"");
  dlg.setFileName("C:\\Work\\App.vbp");
  dlg.setFilter("Project Files (*.vbp)|*.vbp|All (*.*)|*.*");
  dlg.setFilterIndex(2);
  dlg.setFlags(-2147483647 - 1);
  dlg.setFontBold(vbTrue);
  dlg.setFontCharset(238);
  dlg.setFontItalic(vbTrue);
  dlg.setFontName("Courier New");
  dlg.setFontSize(-5);
  dlg.setFontStrikeThru(vbTrue);
  dlg.setFontUnderline(vbTrue);
  dlg.setFromPage(4);
  dlg.setHelpCommand(257);
  dlg.setHelpContext(-7);
  dlg.setHelpFile("C:\\Help\\App.hlp");
  dlg.setHelpKey("Index");
  dlg.setInitDir("C:\\Work");
  dlg.setMax(24);
  dlg.setMaxFileSize(0);
  dlg.setMin(8);
  dlg.setOrientation(2);
  dlg.setPrinterDefault(vbFalse);
  dlg.setToPage(2147483647);
}

void ExpectSameSavedProperties(const CmnDlg& a, const CmnDlg& b) {
  EXPECT_EQ(a.Color(), b.Color());
  EXPECT_EQ(a.Copies(), b.Copies());
  EXPECT_EQ(a.DefaultExt(), b.DefaultExt());
  EXPECT_EQ(a.DialogTitle(), b.DialogTitle());
  EXPECT_EQ(a.FileName(), b.FileName());
  EXPECT_EQ(a.Filter(), b.Filter());
  EXPECT_EQ(a.FilterIndex(), b.FilterIndex());
  EXPECT_EQ(a.flags(), b.flags());
  EXPECT_EQ(a.FontBold(), b.FontBold());
  EXPECT_EQ(a.FontCharset(), b.FontCharset());
  EXPECT_EQ(a.FontItalic(), b.FontItalic());
  EXPECT_EQ(a.FontName(), b.FontName());
  EXPECT_EQ(a.FontSize(), b.FontSize());
  EXPECT_EQ(a.FontStrikeThru(), b.FontStrikeThru());
  EXPECT_EQ(a.FontUnderline(), b.FontUnderline());
  EXPECT_EQ(a.FromPage(), b.FromPage());
  EXPECT_EQ(a.HelpCommand(), b.HelpCommand());
  EXPECT_EQ(a.HelpContext(), b.HelpContext());
  EXPECT_EQ(a.HelpFile(), b.HelpFile());
  EXPECT_EQ(a.HelpKey(), b.HelpKey());
  EXPECT_EQ(a.InitDir(), b.InitDir());
  EXPECT_EQ(a.Max(), b.Max());
  EXPECT_EQ(a.MaxFileSize(), b.MaxFileSize());
  EXPECT_EQ(a.Min(), b.Min());
  EXPECT_EQ(a.Orientation(), b.Orientation());
  EXPECT_EQ(a.PrinterDefault(), b.PrinterDefault());
  EXPECT_EQ(a.ToPage(), b.ToPage());
}

}  // namespace

TEST_F(CmnDlgTest, InitPropertiesAssignsTheCreationValuesAndAnnouncesEachInOrder) {
  dlg.InitProperties();
  ExpectCreationValues(dlg);
  EXPECT_EQ(container.Announced(), kSavedKeys);
}

TEST_F(CmnDlgTest, InitPropertiesLeavesTheDialogResultsAlone) {
  dialogs.answerPrint = [](platform::PRINTDLGA& r) {
    r.hDC = 0x5A5A;
    return 1;
  };
  dlg.ShowPrinter();
  dialogs.helpResult = 0;
  dlg.ShowHelp();
  dlg.InitProperties();
  EXPECT_EQ(dlg.hdc(), 0x5A5A);
  EXPECT_EQ(dlg.LastError(), kCancelError);
}

TEST_F(CmnDlgTest, LoadingAnEmptyBagGivesTheCreationValues) {
  fakes::RecordingBag bag(&container.log);
  SetNonDefaults(dlg);
  container.log.clear();
  dlg.ReadProperties(bag);
  ExpectCreationValues(dlg);
  // Each key is read with the table's default, then announced, before the next is read.
  std::vector<std::string> expected;
  for (const std::string& key : kSavedKeys) {
    expected.push_back("Read " + key);
    expected.push_back("PropertyChanged " + key);
  }
  EXPECT_EQ(container.log, expected);
}

TEST_F(CmnDlgTest, SavingThenLoadingGivesBackAll27Properties) {
  SetNonDefaults(dlg);
  cmndlg::TextPropertyBag saved;
  dlg.WriteProperties(saved);
  EXPECT_EQ(saved.Properties().size(), 27u);  // none is at its default

  fakes::RecordingContainer otherContainer;
  CmnDlg loaded(otherContainer, dialogs);
  cmndlg::TextPropertyBag reread(saved.Text());
  loaded.ReadProperties(reread);
  ExpectSameSavedProperties(dlg, loaded);
  EXPECT_EQ(otherContainer.Announced(), kSavedKeys);
}

TEST_F(CmnDlgTest, WritePropertiesHandsEveryKeyItsValueAndDefaultInOrder) {
  dlg.InitProperties();
  dlg.setFontBold(vbTrue);
  fakes::RecordingBag bag;
  dlg.WriteProperties(bag);
  ASSERT_EQ(bag.written.size(), 27u);
  for (size_t i = 0; i < kSavedKeys.size(); ++i) EXPECT_EQ(bag.written[i].name, kSavedKeys[i]);
  EXPECT_EQ(bag.written[1].value, platform::PropertyValue(int32_t{1}));
  EXPECT_EQ(bag.written[1].defaultValue, platform::PropertyValue(int32_t{1}));
  EXPECT_EQ(bag.written[8].value, platform::PropertyValue(vbTrue));
  EXPECT_EQ(bag.written[8].defaultValue, platform::PropertyValue(vbFalse));
  EXPECT_EQ(bag.written[22].defaultValue, platform::PropertyValue(int32_t{260}));
  EXPECT_EQ(bag.written[25].defaultValue, platform::PropertyValue(vbTrue));
  EXPECT_EQ(bag.written[4].defaultValue, platform::PropertyValue(std::string()));
  // Only what differs from its default reaches the text.
  EXPECT_EQ(bag.bag.Text(), "FontBold = -1\r\n");
}

TEST_F(CmnDlgTest, TheMainWindowSettingsLoadTheirFilterIntoFilter) {
  cmndlg::TextPropertyBag bag(MainWindowSettings());
  dlg.ReadProperties(bag);
  EXPECT_EQ(dlg.Filter(), "Project Files (*.vbp)|*.vbp");
  EXPECT_EQ(dlg.Copies(), 1);
  EXPECT_EQ(dlg.PrinterDefault(), vbTrue);

  cmndlg::TextPropertyBag upper("FILTER = \"X|*.x\"\r\n");
  dlg.ReadProperties(upper);
  EXPECT_EQ(dlg.Filter(), "X|*.x");
}

TEST_F(CmnDlgTest, DialogResultsAreNotAnnouncedButTheNextSaveWritesThem) {
  dlg.InitProperties();
  container.log.clear();
  dialogs.answerColor = [](platform::CHOOSECOLORA& r) {
    r.rgbResult = 0x00336699;
    return 1;
  };
  dlg.ShowColor();
  EXPECT_TRUE(container.Announced().empty());
  cmndlg::TextPropertyBag bag;
  dlg.WriteProperties(bag);
  EXPECT_EQ(bag.Text(), "Color = 3368601\r\n");
}

TEST_F(CmnDlgTest, LoadingConvertsTheBagsAnswerToThePropertysType) {
  fakes::RecordingBag bag;
  bag.answers["FontBold"] = int32_t{5};
  bag.answers["PrinterDefault"] = std::string("False");
  bag.answers["FontItalic"] = std::string("true");
  bag.answers["Copies"] = std::string(" 42 ");
  bag.answers["Color"] = int16_t{-1};
  bag.answers["FileName"] = int32_t{17};
  bag.answers["HelpKey"] = vbTrue;
  dlg.ReadProperties(bag);
  EXPECT_EQ(dlg.FontBold(), vbTrue);
  EXPECT_EQ(dlg.PrinterDefault(), vbFalse);
  EXPECT_EQ(dlg.FontItalic(), vbTrue);
  EXPECT_EQ(dlg.Copies(), 42);
  EXPECT_EQ(dlg.Color(), -1);
  EXPECT_EQ(dlg.FileName(), "17");
  EXPECT_EQ(dlg.HelpKey(), "True");
}

TEST_F(CmnDlgTest, AFailedConversionStopsLoadingThere) {
  SetNonDefaults(dlg);
  fakes::RecordingBag bag;
  bag.answers["FontCharset"] = std::string("wide");
  EXPECT_EQ(RaisedNumber([&] { dlg.ReadProperties(bag); }), kTypeMismatch);
  EXPECT_EQ(dlg.FontBold(), vbFalse);  // loaded before the failure
  EXPECT_EQ(dlg.FontCharset(), 238);   // kept
  EXPECT_EQ(dlg.ToPage(), 2147483647);
  EXPECT_EQ(bag.ownLog.back(), "Read FontCharset");

  bag.answers["FontCharset"] = std::string("99999999999");
  EXPECT_EQ(RaisedNumber([&] { dlg.ReadProperties(bag); }), kOverflow);
}

TEST_F(CmnDlgTest, AFailingBagOrAnnouncementStopsTheEvent) {
  fakes::RecordingBag bag(&container.log);
  bag.failCall = 3;
  EXPECT_EQ(RaisedNumber([&] { dlg.ReadProperties(bag); }), fakes::kContainerFailure);
  EXPECT_EQ(container.Announced(), (std::vector<std::string>{"Color", "Copies"}));
  EXPECT_EQ(dlg.Copies(), 1);

  container.log.clear();
  container.failAnnouncing = "DefaultExt";
  fakes::RecordingBag second("DefaultExt = \"bas\"", &container.log);
  EXPECT_EQ(RaisedNumber([&] { dlg.ReadProperties(second); }), fakes::kContainerFailure);
  EXPECT_EQ(dlg.DefaultExt(), "bas");  // the value stays although announcing it failed
  EXPECT_EQ(container.log.back(), "PropertyChanged DefaultExt");
  dlg.setDialogTitle("T");
  EXPECT_EQ(RaisedNumber([&] { dlg.InitProperties(); }), fakes::kContainerFailure);
  EXPECT_EQ(dlg.DefaultExt(), "");
  EXPECT_EQ(dlg.DialogTitle(), "T");

  fakes::RecordingBag saving;
  saving.failCall = 2;
  EXPECT_EQ(RaisedNumber([&] { dlg.WriteProperties(saving); }), fakes::kContainerFailure);
  EXPECT_EQ(saving.ownLog, (std::vector<std::string>{"Write Color", "Write Copies"}));
  EXPECT_EQ(saving.bag.Properties().size(), 0u);
}

TEST(PropertyConversion, RefusesWhatIsNoNumber) {
  EXPECT_EQ(RaisedNumber([] { ToLong(std::string("")); }), kTypeMismatch);
  EXPECT_EQ(RaisedNumber([] { ToLong(std::string("12a")); }), kTypeMismatch);
  EXPECT_EQ(RaisedNumber([] { ToLong(std::string("+-3")); }), kTypeMismatch);
  EXPECT_EQ(RaisedNumber([] { ToBoolean(std::string("yes")); }), kTypeMismatch);
  EXPECT_EQ(RaisedNumber([] { ToLong(std::string("-2147483649")); }), kOverflow);
  EXPECT_EQ(ToLong(std::string("-2147483648")), -2147483647 - 1);
  EXPECT_EQ(ToLong(std::string("+7")), 7);
  EXPECT_EQ(ToBoolean(std::string("0")), 0);
  EXPECT_EQ(ToBoolean(int32_t{-256}), -1);
  EXPECT_EQ(ToText(int32_t{-5}), "-5");
}
