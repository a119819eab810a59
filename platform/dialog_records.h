// The request records of the system's common dialogs, in their ANSI form.
//
// Field order, field names and field types are those of the published records, so that on a 32-bit
// Windows target each record is the published layout byte for byte and a Win32 implementation can hand
// it to comdlg32 unchanged. Handles and LPARAMs are pointer-sized integers, text and hook fields are
// pointers: on a 64-bit host the records grow exactly as the published ones do there. Other platforms
// read and write the same fields.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// HWND, HINSTANCE, HDC, HGLOBAL: opaque, pointer-sized. A 32-bit handle value widens sign-extended,
// as Windows hands 32-bit handles to 64-bit code.
using Handle = std::intptr_t;
using LParam = std::intptr_t;
using HookProc = void*;  // never set by this program; always null

// Bit of CHOOSEFONTA::Flags: start the dialog from the LOGFONTA handed in.
inline constexpr uint32_t kCfInitToLogFontStruct = 0x40;
// GetDeviceCaps index for the vertical resolution in dots per inch.
inline constexpr int32_t kLogPixelsY = 90;

// OPENFILENAMEA without the three fields that later system versions appended (76 bytes on 32 bits).
struct OPENFILENAMEA {
  uint32_t lStructSize;
  Handle hwndOwner;
  Handle hInstance;
  const char* lpstrFilter;  // pairs of NUL-ended texts, the list ended by a second NUL
  char* lpstrCustomFilter;
  uint32_t nMaxCustFilter;  // characters in lpstrCustomFilter
  uint32_t nFilterIndex;    // 1 for the first pair
  char* lpstrFile;
  uint32_t nMaxFile;  // characters in lpstrFile
  char* lpstrFileTitle;
  uint32_t nMaxFileTitle;  // characters in lpstrFileTitle
  const char* lpstrInitialDir;
  const char* lpstrTitle;
  uint32_t Flags;
  uint16_t nFileOffset;
  uint16_t nFileExtension;
  const char* lpstrDefExt;
  LParam lCustData;
  HookProc lpfnHook;
  const char* lpTemplateName;
};

struct CHOOSECOLORA {
  uint32_t lStructSize;
  Handle hwndOwner;
  Handle hInstance;
  uint32_t rgbResult;      // COLORREF 0x00BBGGRR
  uint32_t* lpCustColors;  // 16 COLORREF entries
  uint32_t Flags;
  LParam lCustData;
  HookProc lpfnHook;
  const char* lpTemplateName;
};

struct LOGFONTA {
  int32_t lfHeight;
  int32_t lfWidth;
  int32_t lfEscapement;
  int32_t lfOrientation;
  int32_t lfWeight;
  uint8_t lfItalic;
  uint8_t lfUnderline;
  uint8_t lfStrikeOut;
  uint8_t lfCharSet;
  uint8_t lfOutPrecision;
  uint8_t lfClipPrecision;
  uint8_t lfQuality;
  uint8_t lfPitchAndFamily;
  char lfFaceName[32];  // NUL-ended, so at most 31 bytes of name
};

struct CHOOSEFONTA {
  uint32_t lStructSize;
  Handle hwndOwner;
  Handle hDC;
  LOGFONTA* lpLogFont;
  int32_t iPointSize;  // tenths of a point
  uint32_t Flags;
  uint32_t rgbColors;
  LParam lCustData;
  HookProc lpfnHook;
  const char* lpTemplateName;
  Handle hInstance;
  char* lpszStyle;
  uint16_t nFontType;
  uint16_t missingAlignment;  // unnamed padding in the published record
  int32_t nSizeMin;
  int32_t nSizeMax;
};

// The 32-bit PRINTDLGA is byte-packed (66 bytes); the 64-bit one is naturally aligned.
#if UINTPTR_MAX == 0xFFFFFFFFu
#pragma pack(push, 1)
#endif
struct PRINTDLGA {
  uint32_t lStructSize;
  Handle hwndOwner;
  Handle hDevMode;
  Handle hDevNames;
  Handle hDC;
  uint32_t Flags;
  uint16_t nFromPage;
  uint16_t nToPage;
  uint16_t nMinPage;
  uint16_t nMaxPage;
  uint16_t nCopies;
  Handle hInstance;
  LParam lCustData;
  HookProc lpfnPrintHook;
  HookProc lpfnSetupHook;
  const char* lpPrintTemplateName;
  const char* lpSetupTemplateName;
  Handle hPrintTemplate;
  Handle hSetupTemplate;
};
#if UINTPTR_MAX == 0xFFFFFFFFu
#pragma pack(pop)
#endif

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(OPENFILENAMEA) == 76);
static_assert(offsetof(OPENFILENAMEA, nFilterIndex) == 24);
static_assert(offsetof(OPENFILENAMEA, lpstrFile) == 28);
static_assert(offsetof(OPENFILENAMEA, Flags) == 52);
static_assert(offsetof(OPENFILENAMEA, nFileOffset) == 56);
static_assert(offsetof(OPENFILENAMEA, lpstrDefExt) == 60);
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) == 72);

static_assert(sizeof(CHOOSECOLORA) == 36);
static_assert(offsetof(CHOOSECOLORA, rgbResult) == 12);
static_assert(offsetof(CHOOSECOLORA, Flags) == 20);
static_assert(offsetof(CHOOSECOLORA, lpTemplateName) == 32);

static_assert(sizeof(LOGFONTA) == 60);
static_assert(offsetof(LOGFONTA, lfItalic) == 20);
static_assert(offsetof(LOGFONTA, lfCharSet) == 23);
static_assert(offsetof(LOGFONTA, lfFaceName) == 28);

static_assert(sizeof(CHOOSEFONTA) == 60);
static_assert(offsetof(CHOOSEFONTA, lpLogFont) == 12);
static_assert(offsetof(CHOOSEFONTA, Flags) == 20);
static_assert(offsetof(CHOOSEFONTA, rgbColors) == 24);
static_assert(offsetof(CHOOSEFONTA, hInstance) == 40);
static_assert(offsetof(CHOOSEFONTA, nFontType) == 48);
static_assert(offsetof(CHOOSEFONTA, nSizeMin) == 52);
static_assert(offsetof(CHOOSEFONTA, nSizeMax) == 56);

static_assert(sizeof(PRINTDLGA) == 66);
static_assert(offsetof(PRINTDLGA, hDC) == 16);
static_assert(offsetof(PRINTDLGA, Flags) == 20);
static_assert(offsetof(PRINTDLGA, nFromPage) == 24);
static_assert(offsetof(PRINTDLGA, nCopies) == 32);
static_assert(offsetof(PRINTDLGA, hInstance) == 34);
static_assert(offsetof(PRINTDLGA, hSetupTemplate) == 62);
#endif

}  // namespace platform
