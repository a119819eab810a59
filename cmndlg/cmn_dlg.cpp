#include "cmndlg/cmn_dlg.h"

namespace cmndlg {

namespace {

// Store first: a container that fails the announcement still leaves the new value in place.
template <typename T>
void StoreAndAnnounce(T& field, const T& value, platform::ControlContainer& container, const char* key) {
  field = value;
  container.PropertyChanged(key);
}

}  // namespace

void CmnDlg::setAction(int32_t value) {
  switch (value) {
    case 1:
      ShowOpen();
      break;
    case 2:
      ShowSave();
      break;
    case 3:
      ShowColor();
      break;
    case 4:
      ShowFont();
      break;
    case 5:
      ShowPrinter();
      break;
    case 6:
      ShowHelp();
      break;
    default:
      break;
  }
}

void CmnDlg::setColor(int32_t value) {
  StoreAndAnnounce(color_, value, container_, "Color");
}
void CmnDlg::setCopies(int32_t value) {
  StoreAndAnnounce(copies_, value, container_, "Copies");
}
void CmnDlg::setDefaultExt(const std::string& value) {
  StoreAndAnnounce(defaultExt_, value, container_, "DefaultExt");
}
void CmnDlg::setDialogTitle(const std::string& value) {
  StoreAndAnnounce(dialogTitle_, value, container_, "DialogTitle");
}
void CmnDlg::setFileName(const std::string& value) {
  StoreAndAnnounce(fileName_, value, container_, "FileName");
}
void CmnDlg::setFilter(const std::string& value) {
  StoreAndAnnounce(filter_, value, container_, "Filter");
}
void CmnDlg::setFilterIndex(int32_t value) {
  StoreAndAnnounce(filterIndex_, value, container_, "FilterIndex");
}
void CmnDlg::setFlags(int32_t value) {
  StoreAndAnnounce(flags_, value, container_, "Flags");
}
void CmnDlg::setFontBold(int16_t value) {
  StoreAndAnnounce(fontBold_, value, container_, "FontBold");
}
void CmnDlg::setFontCharset(int32_t value) {
  StoreAndAnnounce(fontCharset_, value, container_, "FontCharset");
}
void CmnDlg::setFontItalic(int16_t value) {
  StoreAndAnnounce(fontItalic_, value, container_, "FontItalic");
}
void CmnDlg::setFontName(const std::string& value) {
  StoreAndAnnounce(fontName_, value, container_, "FontName");
}
void CmnDlg::setFontSize(int32_t value) {
  StoreAndAnnounce(fontSize_, value, container_, "FontSize");
}
void CmnDlg::setFontStrikeThru(int16_t value) {
  StoreAndAnnounce(fontStrikeThru_, value, container_, "FontStrikeThru");
}
void CmnDlg::setFontUnderline(int16_t value) {
  StoreAndAnnounce(fontUnderline_, value, container_, "FontUnderline");
}
void CmnDlg::setFromPage(int32_t value) {
  StoreAndAnnounce(fromPage_, value, container_, "FromPage");
}
void CmnDlg::setHelpCommand(int32_t value) {
  StoreAndAnnounce(helpCommand_, value, container_, "HelpCommand");
}
void CmnDlg::setHelpContext(int32_t value) {
  StoreAndAnnounce(helpContext_, value, container_, "HelpContext");
}
void CmnDlg::setHelpFile(const std::string& value) {
  StoreAndAnnounce(helpFile_, value, container_, "HelpFile");
}
void CmnDlg::setHelpKey(const std::string& value) {
  StoreAndAnnounce(helpKey_, value, container_, "HelpKey");
}
void CmnDlg::setInitDir(const std::string& value) {
  StoreAndAnnounce(initDir_, value, container_, "InitDir");
}
void CmnDlg::setMax(int32_t value) {
  StoreAndAnnounce(max_, value, container_, "Max");
}
void CmnDlg::setMaxFileSize(int32_t value) {
  StoreAndAnnounce(maxFileSize_, value, container_, "MaxFileSize");
}
void CmnDlg::setMin(int32_t value) {
  StoreAndAnnounce(min_, value, container_, "Min");
}
void CmnDlg::setOrientation(int32_t value) {
  StoreAndAnnounce(orientation_, value, container_, "Orientation");
}
void CmnDlg::setPrinterDefault(int16_t value) {
  StoreAndAnnounce(printerDefault_, value, container_, "PrinterDefault");
}
void CmnDlg::setToPage(int32_t value) {
  StoreAndAnnounce(toPage_, value, container_, "ToPage");
}

platform::Handle CmnDlg::OwnerWindow() const {
  // A 32-bit window handle widens sign-extended, as the system does for 64-bit code.
  return static_cast<platform::Handle>(container_.ParentHwnd());
}

void CmnDlg::Paint() const {
  container_.DrawLine(35, 0, 35, 36, platform::kColorButtonShadow);
  container_.DrawLine(0, 35, 36, 35, platform::kColorButtonShadow);
  container_.DrawLine(0, 0, 36, 0, platform::kColorButtonHighlight);
  container_.DrawLine(0, 0, 0, 36, platform::kColorButtonHighlight);
}

void CmnDlg::Resize() const {
  constexpr float kFacePixels = 36.0f;
  container_.SetWidth(kFacePixels * container_.TwipsPerPixelX());
  container_.SetHeight(kFacePixels * container_.TwipsPerPixelY());
}

}  // namespace cmndlg
