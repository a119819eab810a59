// comdlg32's dialogs given the control's request records unchanged; the records are checked against
// the SDK's own, field by field, when this file compiles.
#include "platform/win32/win32_system_dialogs.h"

#include "platform/win32/windows_api.h"

#include <commdlg.h>

#include <cstddef>
#include <initializer_list>

namespace win32 {

namespace {

#define TARVEX_SAME_FIELD(Record, field)                                                 \
  static_assert(offsetof(platform::Record, field) == offsetof(::Record, field), #field); \
  static_assert(sizeof(platform::Record::field) == sizeof(::Record::field), #field)

// The record without the fields later system versions appended.
// (OPENFILENAME_SIZE_VERSION_400A, spelled out: the SDK's macro is no constant expression.)
static_assert(sizeof(platform::OPENFILENAMEA) ==
              offsetof(::OPENFILENAMEA, lpTemplateName) + sizeof(::OPENFILENAMEA::lpTemplateName));
static_assert(sizeof(platform::OPENFILENAMEA) == (sizeof(void*) == 4 ? 76 : 136));
TARVEX_SAME_FIELD(OPENFILENAMEA, lStructSize);
TARVEX_SAME_FIELD(OPENFILENAMEA, hwndOwner);
TARVEX_SAME_FIELD(OPENFILENAMEA, hInstance);
TARVEX_SAME_FIELD(OPENFILENAMEA, lpstrFilter);
TARVEX_SAME_FIELD(OPENFILENAMEA, lpstrCustomFilter);
TARVEX_SAME_FIELD(OPENFILENAMEA, nMaxCustFilter);
TARVEX_SAME_FIELD(OPENFILENAMEA, nFilterIndex);
TARVEX_SAME_FIELD(OPENFILENAMEA, lpstrFile);
TARVEX_SAME_FIELD(OPENFILENAMEA, nMaxFile);
TARVEX_SAME_FIELD(OPENFILENAMEA, lpstrFileTitle);
TARVEX_SAME_FIELD(OPENFILENAMEA, nMaxFileTitle);
TARVEX_SAME_FIELD(OPENFILENAMEA, lpstrInitialDir);
TARVEX_SAME_FIELD(OPENFILENAMEA, lpstrTitle);
TARVEX_SAME_FIELD(OPENFILENAMEA, Flags);
TARVEX_SAME_FIELD(OPENFILENAMEA, nFileOffset);
TARVEX_SAME_FIELD(OPENFILENAMEA, nFileExtension);
TARVEX_SAME_FIELD(OPENFILENAMEA, lpstrDefExt);
TARVEX_SAME_FIELD(OPENFILENAMEA, lCustData);
TARVEX_SAME_FIELD(OPENFILENAMEA, lpfnHook);
TARVEX_SAME_FIELD(OPENFILENAMEA, lpTemplateName);

static_assert(sizeof(platform::CHOOSECOLORA) == sizeof(::CHOOSECOLORA));
TARVEX_SAME_FIELD(CHOOSECOLORA, lStructSize);
TARVEX_SAME_FIELD(CHOOSECOLORA, hwndOwner);
TARVEX_SAME_FIELD(CHOOSECOLORA, hInstance);
TARVEX_SAME_FIELD(CHOOSECOLORA, rgbResult);
TARVEX_SAME_FIELD(CHOOSECOLORA, lpCustColors);
TARVEX_SAME_FIELD(CHOOSECOLORA, Flags);
TARVEX_SAME_FIELD(CHOOSECOLORA, lCustData);
TARVEX_SAME_FIELD(CHOOSECOLORA, lpfnHook);
TARVEX_SAME_FIELD(CHOOSECOLORA, lpTemplateName);

static_assert(sizeof(platform::LOGFONTA) == sizeof(::LOGFONTA));
TARVEX_SAME_FIELD(LOGFONTA, lfHeight);
TARVEX_SAME_FIELD(LOGFONTA, lfWidth);
TARVEX_SAME_FIELD(LOGFONTA, lfEscapement);
TARVEX_SAME_FIELD(LOGFONTA, lfOrientation);
TARVEX_SAME_FIELD(LOGFONTA, lfWeight);
TARVEX_SAME_FIELD(LOGFONTA, lfItalic);
TARVEX_SAME_FIELD(LOGFONTA, lfUnderline);
TARVEX_SAME_FIELD(LOGFONTA, lfStrikeOut);
TARVEX_SAME_FIELD(LOGFONTA, lfCharSet);
TARVEX_SAME_FIELD(LOGFONTA, lfOutPrecision);
TARVEX_SAME_FIELD(LOGFONTA, lfClipPrecision);
TARVEX_SAME_FIELD(LOGFONTA, lfQuality);
TARVEX_SAME_FIELD(LOGFONTA, lfPitchAndFamily);
TARVEX_SAME_FIELD(LOGFONTA, lfFaceName);

static_assert(sizeof(platform::CHOOSEFONTA) == sizeof(::CHOOSEFONTA));
TARVEX_SAME_FIELD(CHOOSEFONTA, lStructSize);
TARVEX_SAME_FIELD(CHOOSEFONTA, hwndOwner);
TARVEX_SAME_FIELD(CHOOSEFONTA, hDC);
TARVEX_SAME_FIELD(CHOOSEFONTA, lpLogFont);
TARVEX_SAME_FIELD(CHOOSEFONTA, iPointSize);
TARVEX_SAME_FIELD(CHOOSEFONTA, Flags);
TARVEX_SAME_FIELD(CHOOSEFONTA, rgbColors);
TARVEX_SAME_FIELD(CHOOSEFONTA, lCustData);
TARVEX_SAME_FIELD(CHOOSEFONTA, lpfnHook);
TARVEX_SAME_FIELD(CHOOSEFONTA, lpTemplateName);
TARVEX_SAME_FIELD(CHOOSEFONTA, hInstance);
TARVEX_SAME_FIELD(CHOOSEFONTA, lpszStyle);
TARVEX_SAME_FIELD(CHOOSEFONTA, nFontType);
TARVEX_SAME_FIELD(CHOOSEFONTA, nSizeMin);
TARVEX_SAME_FIELD(CHOOSEFONTA, nSizeMax);

static_assert(sizeof(platform::PRINTDLGA) == sizeof(::PRINTDLGA));
TARVEX_SAME_FIELD(PRINTDLGA, lStructSize);
TARVEX_SAME_FIELD(PRINTDLGA, hwndOwner);
TARVEX_SAME_FIELD(PRINTDLGA, hDevMode);
TARVEX_SAME_FIELD(PRINTDLGA, hDevNames);
TARVEX_SAME_FIELD(PRINTDLGA, hDC);
TARVEX_SAME_FIELD(PRINTDLGA, Flags);
TARVEX_SAME_FIELD(PRINTDLGA, nFromPage);
TARVEX_SAME_FIELD(PRINTDLGA, nToPage);
TARVEX_SAME_FIELD(PRINTDLGA, nMinPage);
TARVEX_SAME_FIELD(PRINTDLGA, nMaxPage);
TARVEX_SAME_FIELD(PRINTDLGA, nCopies);
TARVEX_SAME_FIELD(PRINTDLGA, hInstance);
TARVEX_SAME_FIELD(PRINTDLGA, lCustData);
TARVEX_SAME_FIELD(PRINTDLGA, lpfnPrintHook);
TARVEX_SAME_FIELD(PRINTDLGA, lpfnSetupHook);
TARVEX_SAME_FIELD(PRINTDLGA, lpPrintTemplateName);
TARVEX_SAME_FIELD(PRINTDLGA, lpSetupTemplateName);
TARVEX_SAME_FIELD(PRINTDLGA, hPrintTemplate);
TARVEX_SAME_FIELD(PRINTDLGA, hSetupTemplate);

#undef TARVEX_SAME_FIELD

template <typename System, typename Ours>
System* AsSystem(Ours& record) {
  return reinterpret_cast<System*>(&record);
}

}  // namespace

int32_t Win32SystemDialogs::GetOpenFileNameA(platform::OPENFILENAMEA& request) {
  return ::GetOpenFileNameA(AsSystem<::OPENFILENAMEA>(request)) ? 1 : 0;
}

int32_t Win32SystemDialogs::GetSaveFileNameA(platform::OPENFILENAMEA& request) {
  return ::GetSaveFileNameA(AsSystem<::OPENFILENAMEA>(request)) ? 1 : 0;
}

int32_t Win32SystemDialogs::ChooseColorA(platform::CHOOSECOLORA& request) {
  return ::ChooseColorA(AsSystem<::CHOOSECOLORA>(request)) ? 1 : 0;
}

int32_t Win32SystemDialogs::ChooseFontA(platform::CHOOSEFONTA& request) {
  return ::ChooseFontA(AsSystem<::CHOOSEFONTA>(request)) ? 1 : 0;
}

int32_t Win32SystemDialogs::PrintDlgA(platform::PRINTDLGA& request) {
  const BOOL confirmed = ::PrintDlgA(AsSystem<::PRINTDLGA>(request));
  // The device blocks are the system's answer to a question this program never asks again.
  for (platform::Handle* block : {&request.hDevMode, &request.hDevNames}) {
    if (*block != 0) ::GlobalFree(reinterpret_cast<HGLOBAL>(*block));
    *block = 0;
  }
  return confirmed ? 1 : 0;
}

int32_t Win32SystemDialogs::WinHelpA(platform::Handle owner, const char* helpFile, uint32_t command,
                                     uintptr_t data) {
  return ::WinHelpA(reinterpret_cast<HWND>(owner), helpFile, command, data) ? 1 : 0;
}

int32_t Win32SystemDialogs::GetDeviceCaps(platform::Handle hdc, int32_t index) {
  return ::GetDeviceCaps(reinterpret_cast<HDC>(hdc), index);
}

}  // namespace win32
