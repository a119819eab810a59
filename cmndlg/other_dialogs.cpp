// ShowColor, ShowFont, ShowPrinter and ShowHelp.
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

#include "cmndlg/cmn_dlg.h"
#include "cmndlg/dialog_buffers.h"
#include "cmndlg/mul_div.h"
#include "cmndlg/property_conversion.h"
#include "platform/errors.h"

namespace cmndlg {

namespace {

constexpr uint8_t kFontFlagOn = 255;  // low byte of a true Boolean
constexpr int32_t kPointsPerInch = 72;

uint8_t FontFlag(int16_t value) {
  return value != 0 ? kFontFlagOn : 0;
}
int16_t FromFontFlag(uint8_t value) {
  return value != 0 ? vbTrue : vbFalse;
}

// The Long negation of a height or size; the one value without a negative overflows.
int32_t Negated(int32_t value) {
  if (value == std::numeric_limits<int32_t>::min()) throw platform::RaisedError(kOverflow, "Overflow");
  return -value;
}

// A returned 16-bit field widens as a signed number.
int32_t Signed16(uint16_t value) {
  return static_cast<int16_t>(value);
}
uint16_t Low16(int32_t value) {
  return static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu);
}

}  // namespace

void CmnDlg::ShowColor() {
  lastError_ = 0;
  platform::CHOOSECOLORA request{};
  request.Flags = static_cast<uint32_t>(flags_);
  request.hwndOwner = OwnerWindow();
  request.hInstance = container_.InstanceHandle();
  std::array<uint32_t, 16> customColors{};  // black every time; the user's choices die with the call
  request.lpCustColors = customColors.data();
  request.rgbResult = static_cast<uint32_t>(color_);
  request.lStructSize = sizeof(request);

  if (dialogs_.ChooseColorA(request) == 0) {
    lastError_ = kCancelError;
    return;
  }
  color_ = static_cast<int32_t>(request.rgbResult);
  flags_ = static_cast<int32_t>(request.Flags);
}

void CmnDlg::ShowFont() {
  lastError_ = 0;
  platform::LOGFONTA font{};
  platform::CHOOSEFONTA request{};
  font.lfCharSet = static_cast<uint8_t>(fontCharset_ & 0xFF);
  // The face-name field keeps its last byte for the NUL: a longer name is cut to 31 bytes.
  std::memcpy(font.lfFaceName, fontName_.data(), std::min(fontName_.size(), sizeof(font.lfFaceName) - 1));
  int32_t dpi = dialogs_.GetDeviceCaps(container_.SurfaceHdc(), platform::kLogPixelsY);
  font.lfHeight = Negated(MulDiv(fontSize_, dpi, kPointsPerInch));
  font.lfItalic = FontFlag(fontItalic_);
  font.lfStrikeOut = FontFlag(fontStrikeThru_);
  font.lfUnderline = FontFlag(fontUnderline_);
  font.lfWeight = fontBold_ != 0 ? 700 : 400;
  request.Flags = static_cast<uint32_t>(flags_) | platform::kCfInitToLogFontStruct;
  request.hwndOwner = OwnerWindow();
  request.hInstance = container_.InstanceHandle();
  request.lStructSize = sizeof(request);
  request.iPointSize = 0;
  request.lpLogFont = &font;
  request.rgbColors = static_cast<uint32_t>(color_);
  request.nSizeMin = min_;
  request.nSizeMax = max_;

  if (dialogs_.ChooseFontA(request) == 0) {
    lastError_ = kCancelError;
    return;
  }
  color_ = static_cast<int32_t>(request.rgbColors);
  flags_ = static_cast<int32_t>(request.Flags);
  fontBold_ = font.lfWeight > 500 ? vbTrue : vbFalse;
  fontCharset_ = font.lfCharSet;
  fontItalic_ = FromFontFlag(font.lfItalic);
  fontName_ = TextBeforeNul(std::string_view(font.lfFaceName, sizeof(font.lfFaceName)));
  dpi = dialogs_.GetDeviceCaps(container_.SurfaceHdc(), platform::kLogPixelsY);
  fontSize_ = Negated(MulDiv(font.lfHeight, kPointsPerInch, dpi));
  fontStrikeThru_ = FromFontFlag(font.lfStrikeOut);
  fontUnderline_ = FromFontFlag(font.lfUnderline);
}

void CmnDlg::ShowPrinter() {
  lastError_ = 0;
  platform::PRINTDLGA request{};
  request.Flags = static_cast<uint32_t>(flags_);
  request.hDevMode = 0;
  request.hDevNames = 0;
  request.hInstance = container_.InstanceHandle();
  request.hwndOwner = OwnerWindow();
  request.nCopies = Low16(copies_);
  request.nMaxPage = Low16(max_);
  request.nFromPage = Low16(fromPage_);
  request.nMinPage = Low16(min_);
  request.nToPage = Low16(toPage_);
  request.lStructSize = sizeof(request);

  if (dialogs_.PrintDlgA(request) == 0) {
    lastError_ = kCancelError;
    return;
  }
  copies_ = Signed16(request.nCopies);
  flags_ = static_cast<int32_t>(request.Flags);
  fromPage_ = Signed16(request.nFromPage);
  // hdc is a Long: a context handle is significant in its low 32 bits on every Windows.
  hdc_ = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uintptr_t>(request.hDC)));
  toPage_ = Signed16(request.nToPage);
}

void CmnDlg::ShowHelp() {
  lastError_ = 0;
  const platform::Handle owner = OwnerWindow();
  const std::string helpFile = NulEnded(helpFile_);
  // HelpContext is the data value for every command, widened sign-extended like a handle.
  const auto data = static_cast<uintptr_t>(static_cast<intptr_t>(helpContext_));
  if (dialogs_.WinHelpA(owner, helpFile.c_str(), static_cast<uint32_t>(helpCommand_), data) == 0) {
    lastError_ = kCancelError;
  }
}

}  // namespace cmndlg
