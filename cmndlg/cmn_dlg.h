// CmnDlg: the common-dialog control. Keeps the inputs and results of the Open, Save As, Colour, Font and
// Print dialogs and of the help viewer as properties, and runs those dialogs.
//
// Spelling: a getter is the property's name (FileName(), hdc(), flags()), its setter "set" and the name
// with the first letter in upper case (setFileName, setFlags, setAction). Every setter stores its value,
// then announces the saved key through PropertyChanged; a failing announcement keeps the value.
// Values a dialog writes back are stored without announcement.
#pragma once

#include <cstdint>
#include <string>

#include "platform/control_container.h"
#include "platform/system_dialogs.h"

namespace cmndlg {

// LastError after a cancelled or failed dialog (0 after a confirmed one).
inline constexpr int32_t kCancelError = 32755;
// Raised before any dialog for a FileName that does not fit the 260-character file buffer.
inline constexpr int32_t kInvalidArgument = 5;

inline constexpr int16_t vbTrue = -1;
inline constexpr int16_t vbFalse = 0;

class CmnDlg {
 public:
  // Both must outlive the control. A new control has every Long 0, Boolean False and String empty.
  CmnDlg(platform::ControlContainer& container, platform::SystemDialogs& dialogs)
      : container_(container), dialogs_(dialogs) {}
  CmnDlg(const CmnDlg&) = delete;
  CmnDlg& operator=(const CmnDlg&) = delete;

  // 1 ShowOpen, 2 ShowSave, 3 ShowColor, 4 ShowFont, 5 ShowPrinter, 6 ShowHelp; anything else does nothing.
  void setAction(int32_t value);

  int32_t Color() const { return color_; }
  void setColor(int32_t value);
  int32_t Copies() const { return copies_; }
  void setCopies(int32_t value);
  std::string DefaultExt() const { return defaultExt_; }
  void setDefaultExt(const std::string& value);
  std::string DialogTitle() const { return dialogTitle_; }
  void setDialogTitle(const std::string& value);
  std::string FileName() const { return fileName_; }
  void setFileName(const std::string& value);
  std::string FileTitle() const { return fileTitle_; }
  std::string Filter() const { return filter_; }
  void setFilter(const std::string& value);
  int32_t FilterIndex() const { return filterIndex_; }
  void setFilterIndex(int32_t value);
  int32_t flags() const { return flags_; }
  void setFlags(int32_t value);  // announces "Flags"
  int16_t FontBold() const { return fontBold_; }
  void setFontBold(int16_t value);
  int32_t FontCharset() const { return fontCharset_; }
  void setFontCharset(int32_t value);
  int16_t FontItalic() const { return fontItalic_; }
  void setFontItalic(int16_t value);
  std::string FontName() const { return fontName_; }
  void setFontName(const std::string& value);
  int32_t FontSize() const { return fontSize_; }
  void setFontSize(int32_t value);
  int16_t FontStrikeThru() const { return fontStrikeThru_; }
  void setFontStrikeThru(int16_t value);
  int16_t FontUnderline() const { return fontUnderline_; }
  void setFontUnderline(int16_t value);
  int32_t FromPage() const { return fromPage_; }
  void setFromPage(int32_t value);
  int32_t hdc() const { return hdc_; }
  int32_t HelpCommand() const { return helpCommand_; }
  void setHelpCommand(int32_t value);
  int32_t HelpContext() const { return helpContext_; }
  void setHelpContext(int32_t value);
  std::string HelpFile() const { return helpFile_; }
  void setHelpFile(const std::string& value);
  std::string HelpKey() const { return helpKey_; }
  void setHelpKey(const std::string& value);
  std::string InitDir() const { return initDir_; }
  void setInitDir(const std::string& value);
  int32_t LastError() const { return lastError_; }
  int32_t Max() const { return max_; }
  void setMax(int32_t value);
  int32_t MaxFileSize() const { return maxFileSize_; }
  void setMaxFileSize(int32_t value);
  int32_t Min() const { return min_; }
  void setMin(int32_t value);
  int32_t Orientation() const { return orientation_; }
  void setOrientation(int32_t value);
  int16_t PrinterDefault() const { return printerDefault_; }
  void setPrinterDefault(int16_t value);
  int32_t ToPage() const { return toPage_; }
  void setToPage(int32_t value);

  // The dialog methods. Each sets LastError to 0, then to kCancelError when the system answers 0.
  // Errors of the container (owner window, device context) are raised with LastError 0.
  void ShowColor();
  void ShowFont();
  void ShowHelp();
  void ShowOpen();  // raises kInvalidArgument for a FileName of 260 characters or more
  void ShowPrinter();
  void ShowSave();  // as ShowOpen

  // Container events. Each stops at the first failing call and lets its exception through.
  void InitProperties();                            // the creation values, through the setters
  void ReadProperties(platform::PropertyBag& bag);  // the 27 saved properties, through the setters
  void WriteProperties(platform::PropertyBag& bag) const;
  void Paint() const;   // a raised one-pixel frame around the 36 × 36 pixel face
  void Resize() const;  // always 36 × 36 pixels, whatever was proposed

 private:
  void ShowFileDialog(bool save);
  platform::Handle OwnerWindow() const;

  platform::ControlContainer& container_;
  platform::SystemDialogs& dialogs_;

  int32_t color_ = 0;
  int32_t copies_ = 0;
  std::string defaultExt_;
  std::string dialogTitle_;
  std::string fileName_;
  std::string fileTitle_;
  std::string filter_;
  int32_t filterIndex_ = 0;
  int32_t flags_ = 0;
  int16_t fontBold_ = vbFalse;
  int32_t fontCharset_ = 0;
  int16_t fontItalic_ = vbFalse;
  std::string fontName_;
  int32_t fontSize_ = 0;
  int16_t fontStrikeThru_ = vbFalse;
  int16_t fontUnderline_ = vbFalse;
  int32_t fromPage_ = 0;
  int32_t hdc_ = 0;
  int32_t helpCommand_ = 0;
  int32_t helpContext_ = 0;
  std::string helpFile_;
  std::string helpKey_;
  std::string initDir_;
  int32_t lastError_ = 0;
  int32_t max_ = 0;
  int32_t maxFileSize_ = 0;
  int32_t min_ = 0;
  int32_t orientation_ = 0;
  int16_t printerDefault_ = vbFalse;
  int32_t toPage_ = 0;
};

}  // namespace cmndlg
