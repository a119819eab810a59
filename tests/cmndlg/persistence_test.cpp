#include <string>
#include <type_traits>
#include <variant>
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

// Every saved property as "Name=value" lines in the saved order, defaults included, with the two results
// that are never saved (hdc and LastError) after them.
std::string AllSaved(const CmnDlg& dlg) {
  fakes::RecordingBag bag;
  dlg.WriteProperties(bag);
  std::string text;
  for (const auto& w : bag.written) {
    text += w.name + "=";
    std::visit([&](const auto& v) {
      if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::string>) {
        text += "\"" + v + "\"";
      } else {
        text += std::to_string(v);
      }
    }, w.value);
    text += "\n";
  }
  return text + "FileTitle=\"" + dlg.FileTitle() + "\"\nhdc=" + std::to_string(dlg.hdc()) +
         "\nLastError=" + std::to_string(dlg.LastError()) + "\n";
}

const std::string kCreationValues =
    "Color=0\nCopies=1\nDefaultExt=\"\"\nDialogTitle=\"\"\nFileName=\"\"\nFilter=\"\"\nFilterIndex=0\nFlags=0\n"
    "FontBold=0\nFontCharset=0\nFontItalic=0\nFontName=\"\"\nFontSize=8\nFontStrikeThru=0\nFontUnderline=0\n"
    "FromPage=0\nHelpCommand=0\nHelpContext=0\nHelpFile=\"\"\nHelpKey=\"\"\nInitDir=\"\"\nMax=0\nMaxFileSize=260\n"
    "Min=0\nOrientation=1\nPrinterDefault=-1\nToPage=0\nFileTitle=\"\"\nhdc=0\nLastError=0\n";

// Every saved property away from its default, Booleans at -1 or 0 as they arrive from loading.
const std::string kNonDefaults =
    "Color = 16711935\r\nCopies = 3\r\nDefaultExt = \"vbp\"\r\nDialogTitle = \"Say \"\"when\"\"\"\r\n"
    "FileName = \"C:\\Work\\App.vbp\"\r\nFilter = \"Project Files (*.vbp)|*.vbp|All (*.*)|*.*\"\r\n"
    "FilterIndex = 2\r\nFlags = -2147483648\r\nFontBold = -1\r\nFontCharset = 238\r\nFontItalic = -1\r\n"
    "FontName = \"Courier New\"\r\nFontSize = -5\r\nFontStrikeThru = -1\r\nFontUnderline = -1\r\nFromPage = 4\r\n"
    "HelpCommand = 257\r\nHelpContext = -7\r\nHelpFile = \"C:\\Help\\App.hlp\"\r\nHelpKey = \"Index\"\r\n"
    "InitDir = \"C:\\Work\"\r\nMax = 24\r\nMaxFileSize = 0\r\nMin = 8\r\nOrientation = 2\r\nPrinterDefault = 0\r\n"
    "ToPage = 2147483647\r\n";

void SetNonDefaults(CmnDlg& dlg) {
  cmndlg::TextPropertyBag bag(kNonDefaults);
  dlg.ReadProperties(bag);
}

}  // namespace

TEST_F(CmnDlgTest, InitPropertiesAssignsTheCreationValuesAndAnnouncesEachInOrder) {
  dlg.InitProperties();
  EXPECT_EQ(AllSaved(dlg), kCreationValues);
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
  EXPECT_EQ(AllSaved(dlg), kCreationValues);
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
  EXPECT_EQ(saved.Text(), kNonDefaults);

  fakes::RecordingContainer otherContainer;
  CmnDlg loaded(otherContainer, dialogs);
  cmndlg::TextPropertyBag reread(saved.Text());
  loaded.ReadProperties(reread);
  EXPECT_EQ(AllSaved(loaded), AllSaved(dlg));
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
