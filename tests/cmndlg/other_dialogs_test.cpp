#include <cstring>
#include <string>

#include "tests/cmndlg/fixture.h"

using namespace cmndlg;

class OtherDialogTest : public CmnDlgTest {
 protected:
  void SetUp() override {
    dlg.InitProperties();
    container.log.clear();
  }
  // A user who confirms the font dialog as it was opened, with a changed height, or weight.
  void ConfirmFontWith(int32_t height, int32_t weight = 400) {
    dialogs.answerFont = [=](platform::CHOOSEFONTA& r) {
      r.lpLogFont->lfHeight = height;
      r.lpLogFont->lfWeight = weight;
      return 1;
    };
  }
};

TEST_F(OtherDialogTest, ShowColorFillsTheRequestAndTakesBackColourAndFlags) {
  dlg.setColor(0x00102030);
  dlg.setFlags(0x3);
  container.log.clear();
  dialogs.answerColor = [](platform::CHOOSECOLORA& r) {
    r.rgbResult = 0x00FF8000;
    r.Flags |= 0x100;
    return 1;
  };
  dlg.ShowColor();
  ASSERT_EQ(dialogs.colors.size(), 1u);
  const platform::CHOOSECOLORA& r = dialogs.colors[0].record;
  EXPECT_EQ(r.lStructSize, sizeof(platform::CHOOSECOLORA));
  EXPECT_EQ(r.hwndOwner, container.hwnd);
  EXPECT_EQ(r.hInstance, container.instance);
  EXPECT_EQ(r.rgbResult, 0x00102030u);
  EXPECT_EQ(r.Flags, 0x3u);
  EXPECT_EQ(r.lCustData, 0);
  EXPECT_EQ(r.lpfnHook, nullptr);
  EXPECT_EQ(r.lpTemplateName, nullptr);
  EXPECT_EQ(dialogs.colors[0].customColors, std::vector<uint32_t>(16, 0));
  EXPECT_EQ(dlg.Color(), 0x00FF8000);
  EXPECT_EQ(dlg.flags(), 0x103);
  EXPECT_EQ(dlg.LastError(), 0);
  EXPECT_TRUE(container.Announced().empty());
}

TEST_F(OtherDialogTest, CustomColoursAreBlackAtEveryCall) {
  dialogs.answerColor = [](platform::CHOOSECOLORA& r) {
    for (int i = 0; i < 16; ++i) r.lpCustColors[i] = 0xFFFFFF;
    return 1;
  };
  dlg.ShowColor();
  dlg.ShowColor();
  ASSERT_EQ(dialogs.colors.size(), 2u);
  EXPECT_EQ(dialogs.colors[1].customColors, std::vector<uint32_t>(16, 0));
}

TEST_F(OtherDialogTest, ShowFontFillsLogFontAndRequest) {
  dlg.setFontName("Arial");
  dlg.setFontSize(10);
  dlg.setFontBold(vbTrue);
  dlg.setFontItalic(vbTrue);
  dlg.setFontUnderline(vbTrue);
  dlg.setFontCharset(0x1EE);
  dlg.setColor(0x0000FF);
  dlg.setFlags(0x1);
  dlg.setMin(8);
  dlg.setMax(24);
  container.log.clear();
  dlg.ShowFont();
  ASSERT_EQ(dialogs.fonts.size(), 1u);
  const platform::CHOOSEFONTA& r = dialogs.fonts[0].record;
  ASSERT_TRUE(dialogs.fonts[0].logFont);
  const platform::LOGFONTA& f = *dialogs.fonts[0].logFont;
  EXPECT_EQ(f.lfHeight, -13);
  EXPECT_EQ(f.lfWidth, 0);
  EXPECT_EQ(f.lfEscapement, 0);
  EXPECT_EQ(f.lfOrientation, 0);
  EXPECT_EQ(f.lfWeight, 700);
  EXPECT_EQ(f.lfItalic, 255);
  EXPECT_EQ(f.lfUnderline, 255);
  EXPECT_EQ(f.lfStrikeOut, 0);
  EXPECT_EQ(f.lfCharSet, 0xEE);
  EXPECT_EQ(f.lfOutPrecision | f.lfClipPrecision | f.lfQuality | f.lfPitchAndFamily, 0);
  EXPECT_EQ(std::string(f.lfFaceName, 32), std::string("Arial") + std::string(27, '\0'));
  EXPECT_EQ(r.lStructSize, sizeof(platform::CHOOSEFONTA));
  EXPECT_EQ(r.hwndOwner, container.hwnd);
  EXPECT_EQ(r.hDC, 0);
  EXPECT_NE(r.lpLogFont, nullptr);
  EXPECT_EQ(r.iPointSize, 0);
  EXPECT_EQ(r.Flags, 0x41u);
  EXPECT_EQ(r.rgbColors, 0x0000FFu);
  EXPECT_EQ(r.lCustData, 0);
  EXPECT_EQ(r.lpfnHook, nullptr);
  EXPECT_EQ(r.lpTemplateName, nullptr);
  EXPECT_EQ(r.hInstance, container.instance);
  EXPECT_EQ(r.lpszStyle, nullptr);
  EXPECT_EQ(r.nFontType, 0);
  EXPECT_EQ(r.nSizeMin, 8);
  EXPECT_EQ(r.nSizeMax, 24);
  // dpi from the control's own surface, before the owner is read.
  EXPECT_EQ(dialogs.deviceCapsContexts, (std::vector<platform::Handle>{container.surfaceHdc}));
  EXPECT_EQ(container.log, (std::vector<std::string>{"SurfaceHdc", "ParentHwnd"}));
}

TEST_F(OtherDialogTest, FontHeightsAt96And120DotsPerInchReadBackUnchanged) {
  struct Case {
    int32_t dpi, size, height;
  };
  for (const Case& c : {Case{96, 8, -11}, Case{96, 10, -13}, Case{120, 12, -20}}) {
    dialogs.dpi = c.dpi;
    dialogs.answerFont = [](platform::CHOOSEFONTA&) { return 1; };
    dlg.setFontSize(c.size);
    dlg.ShowFont();
    EXPECT_EQ(dialogs.fonts.back().logFont->lfHeight, c.height) << c.dpi << " " << c.size;
    EXPECT_EQ(dlg.FontSize(), c.size);
  }
  ConfirmFontWith(-16);
  dialogs.dpi = 96;
  dlg.ShowFont();
  EXPECT_EQ(dlg.FontSize(), 12);
}

TEST_F(OtherDialogTest, AConfirmedFontWritesBackEveryFontPropertyWithBit64) {
  dlg.setFontName("Arial");
  dlg.setFontItalic(vbTrue);
  dlg.setFlags(0x4);
  container.log.clear();
  dialogs.answerFont = [](platform::CHOOSEFONTA& r) {
    platform::LOGFONTA& f = *r.lpLogFont;
    std::memset(f.lfFaceName, 0, sizeof(f.lfFaceName));
    std::memcpy(f.lfFaceName, "Courier New", 11);
    f.lfWeight = 600;
    f.lfItalic = 0;
    f.lfUnderline = 1;
    f.lfStrikeOut = 1;
    f.lfCharSet = 204;
    f.lfHeight = -19;
    r.rgbColors = 0x00808080;
    r.Flags = 0x4 | 0x2000;  // the system may even drop the bit it was given
    return 1;
  };
  dlg.ShowFont();
  EXPECT_EQ(dlg.LastError(), 0);
  EXPECT_EQ(dlg.FontName(), "Courier New");
  EXPECT_EQ(dlg.FontBold(), vbTrue);
  EXPECT_EQ(dlg.FontItalic(), vbFalse);
  EXPECT_EQ(dlg.FontUnderline(), vbTrue);
  EXPECT_EQ(dlg.FontStrikeThru(), vbTrue);
  EXPECT_EQ(dlg.FontCharset(), 204);
  EXPECT_EQ(dlg.FontSize(), 14);
  EXPECT_EQ(dlg.Color(), 0x00808080);
  EXPECT_EQ(dlg.flags(), 0x2004);
  EXPECT_TRUE(container.Announced().empty());

  dialogs.answerFont = [](platform::CHOOSEFONTA&) { return 1; };
  dlg.setFlags(0);
  dlg.ShowFont();
  EXPECT_EQ(dlg.flags(), 64);
}

TEST_F(OtherDialogTest, BoldMeansAWeightAbove500) {
  ConfirmFontWith(-11, 500);
  dlg.setFontBold(vbTrue);
  dlg.ShowFont();
  EXPECT_EQ(dlg.FontBold(), vbFalse);
  ConfirmFontWith(-11, 501);
  dlg.ShowFont();
  EXPECT_EQ(dlg.FontBold(), vbTrue);
}

TEST_F(OtherDialogTest, FaceNamesAndCharacterSetsAreCutToTheirFields) {
  dlg.setFontCharset(256);
  dlg.setFontName("");
  dlg.ShowFont();
  EXPECT_EQ(dialogs.fonts[0].logFont->lfCharSet, 0);
  EXPECT_EQ(std::string(dialogs.fonts[0].logFont->lfFaceName, 32), std::string(32, '\0'));

  const std::string longName(40, 'W');
  dlg.setFontName(longName);
  dlg.ShowFont();
  EXPECT_EQ(std::string(dialogs.fonts[1].logFont->lfFaceName, 32), std::string(31, 'W') + '\0');

  // A system that fills all 32 bytes gives all 32 back, nothing beyond.
  dialogs.answerFont = [](platform::CHOOSEFONTA& r) {
    std::memset(r.lpLogFont->lfFaceName, 'Z', 32);
    return 1;
  };
  dlg.ShowFont();
  EXPECT_EQ(dlg.FontName(), std::string(32, 'Z'));
}

TEST_F(OtherDialogTest, ACancelledFontDialogChangesNothingButLastError) {
  dlg.setFontSize(10);
  dlg.setFontName("Arial");
  dlg.setFlags(1);
  dialogs.answerFont = [](platform::CHOOSEFONTA& r) {
    r.lpLogFont->lfHeight = -50;
    r.Flags = 0xFF;
    return 0;
  };
  dlg.ShowFont();
  EXPECT_EQ(dlg.LastError(), kCancelError);
  EXPECT_EQ(dlg.FontSize(), 10);
  EXPECT_EQ(dlg.FontName(), "Arial");
  EXPECT_EQ(dlg.flags(), 1);
  EXPECT_EQ(dialogs.deviceCapsContexts.size(), 1u);
}

TEST_F(OtherDialogTest, DeviceContextFailuresBeforeAndAfterTheFontDialog) {
  dlg.setFontSize(10);
  dlg.setColor(5);
  dlg.ShowColor();  // LastError 32755
  container.failSurfaceHdcCall = 1;
  EXPECT_EQ(RaisedNumber([&] { dlg.ShowFont(); }), fakes::kContainerFailure);
  EXPECT_EQ(dlg.LastError(), 0);
  EXPECT_TRUE(dialogs.fonts.empty());

  // The second read fails: the results before FontSize are in, the rest are not.
  container.failSurfaceHdcCall = 3;
  dialogs.answerFont = [](platform::CHOOSEFONTA& r) {
    r.rgbColors = 9;
    r.lpLogFont->lfHeight = -40;
    r.lpLogFont->lfUnderline = 1;
    r.lpLogFont->lfWeight = 700;
    return 1;
  };
  EXPECT_EQ(RaisedNumber([&] { dlg.ShowFont(); }), fakes::kContainerFailure);
  EXPECT_EQ(dlg.LastError(), 0);
  EXPECT_EQ(dlg.Color(), 9);
  EXPECT_EQ(dlg.FontBold(), vbTrue);
  EXPECT_EQ(dlg.flags(), 64);
  EXPECT_EQ(dlg.FontSize(), 10);
  EXPECT_EQ(dlg.FontUnderline(), vbFalse);
}

TEST_F(OtherDialogTest, ShowPrinterTruncatesToSixteenBitsAndWidensAsSigned) {
  dlg.setCopies(65537);
  dlg.setFromPage(2);
  dlg.setToPage(70000);
  dlg.setMin(-1);
  dlg.setMax(9);
  dlg.setFlags(0x100);
  dlg.setOrientation(2);
  dlg.setPrinterDefault(vbFalse);
  container.log.clear();
  dialogs.answerPrint = [](platform::PRINTDLGA& r) {
    r.nFromPage = 40000;
    r.nToPage = 65535;
    r.nCopies = 32768;
    r.hDC = 0x12345678;
    r.Flags |= 0x2;
    return 1;
  };
  dlg.ShowPrinter();
  ASSERT_EQ(dialogs.prints.size(), 1u);
  const platform::PRINTDLGA r = dialogs.prints[0];
  EXPECT_EQ(r.lStructSize, sizeof(platform::PRINTDLGA));
  EXPECT_EQ(r.hwndOwner, container.hwnd);
  EXPECT_EQ(r.hDevMode, 0);
  EXPECT_EQ(r.hDevNames, 0);
  EXPECT_EQ(r.hDC, 0);
  EXPECT_EQ(r.Flags, 0x100u);
  EXPECT_EQ(r.nCopies, 1);
  EXPECT_EQ(r.nFromPage, 2);
  EXPECT_EQ(r.nToPage, 70000 - 65536);
  EXPECT_EQ(r.nMinPage, 65535);
  EXPECT_EQ(r.nMaxPage, 9);
  EXPECT_EQ(r.hInstance, container.instance);
  EXPECT_EQ(r.lCustData, 0);
  EXPECT_EQ(r.lpfnPrintHook, nullptr);
  EXPECT_EQ(r.lpfnSetupHook, nullptr);
  EXPECT_EQ(r.lpPrintTemplateName, nullptr);
  EXPECT_EQ(r.lpSetupTemplateName, nullptr);
  EXPECT_EQ(r.hPrintTemplate, 0);
  EXPECT_EQ(r.hSetupTemplate, 0);
  EXPECT_EQ(dlg.FromPage(), 40000 - 65536);
  EXPECT_EQ(dlg.ToPage(), -1);
  EXPECT_EQ(dlg.Copies(), -32768);
  EXPECT_EQ(dlg.hdc(), 0x12345678);
  EXPECT_EQ(dlg.flags(), 0x102);
  EXPECT_EQ(dlg.LastError(), 0);
  EXPECT_TRUE(container.Announced().empty());
  EXPECT_EQ(container.log, (std::vector<std::string>{"ParentHwnd"}));
}

TEST_F(OtherDialogTest, OrientationAndPrinterDefaultLeaveThePrintRequestAlone) {
  dlg.ShowPrinter();
  dlg.setOrientation(2);
  dlg.setPrinterDefault(vbFalse);
  dlg.ShowPrinter();
  ASSERT_EQ(dialogs.prints.size(), 2u);
  EXPECT_EQ(std::memcmp(&dialogs.prints[0], &dialogs.prints[1], sizeof(platform::PRINTDLGA)), 0);
}

TEST_F(OtherDialogTest, ACancelledPrintDialogChangesNothingButLastError) {
  dlg.setCopies(2);
  dlg.setFromPage(1);
  dlg.setToPage(3);
  dlg.setFlags(0x10);
  dialogs.answerPrint = [](platform::PRINTDLGA& r) {
    r.nCopies = 9;
    r.hDC = 77;
    return 0;
  };
  dlg.ShowPrinter();
  EXPECT_EQ(dlg.LastError(), kCancelError);
  EXPECT_EQ(dlg.Copies(), 2);
  EXPECT_EQ(dlg.FromPage(), 1);
  EXPECT_EQ(dlg.ToPage(), 3);
  EXPECT_EQ(dlg.hdc(), 0);
  EXPECT_EQ(dlg.flags(), 0x10);
}

TEST_F(OtherDialogTest, ShowHelpPassesFileCommandAndContext) {
  dlg.setHelpFile("C:\\Help\\App.hlp");
  dlg.setHelpCommand(1);
  dlg.setHelpContext(-5);
  dlg.setHelpKey("anything");
  dlg.ShowHelp();
  ASSERT_EQ(dialogs.helps.size(), 1u);
  EXPECT_EQ(dialogs.helps[0].owner, container.hwnd);
  EXPECT_EQ(dialogs.helps[0].helpFile, "C:\\Help\\App.hlp");
  EXPECT_EQ(dialogs.helps[0].command, 1u);
  EXPECT_EQ(dialogs.helps[0].data, static_cast<uintptr_t>(intptr_t{-5}));
  EXPECT_EQ(dlg.LastError(), 0);

  dlg.setHelpKey("other");
  dlg.setHelpFile("");
  dialogs.helpResult = 0;
  dlg.ShowHelp();
  EXPECT_EQ(dialogs.helps[1].helpFile, "");  // an empty text, never a null pointer
  EXPECT_EQ(dialogs.helps[1].command, 1u);
  EXPECT_EQ(dlg.LastError(), kCancelError);
}

TEST_F(OtherDialogTest, OwnerFailuresAreRaisedWithLastErrorZero) {
  dlg.setColor(3);
  for (auto show : {&CmnDlg::ShowColor, &CmnDlg::ShowFont, &CmnDlg::ShowPrinter, &CmnDlg::ShowHelp}) {
    container.failParentHwnd = false;
    dialogs.helpResult = 0;
    dlg.ShowColor();
    ASSERT_EQ(dlg.LastError(), kCancelError);
    container.failParentHwnd = true;
    dialogs.calls.clear();
    EXPECT_EQ(RaisedNumber([&] { (dlg.*show)(); }), fakes::kContainerFailure);
    EXPECT_EQ(dlg.LastError(), 0);
    EXPECT_TRUE(dialogs.calls.empty() || dialogs.calls == std::vector<std::string>{"GetDeviceCaps"});
  }
  EXPECT_EQ(dlg.Color(), 3);
}
