// The system's common dialogs and help viewer, each taking the request record the control filled.
#pragma once

#include <cstdint>

#include "platform/dialog_records.h"

namespace platform {

// Each dialog is modal and returns when it has closed. The result is nonzero when the user confirmed
// and 0 on cancel or any failure (both alike). On a nonzero result the implementation has written the
// answer into the record and the buffers it points at, exactly as comdlg32 does: never past a buffer's
// stated length (nMaxFile, nMaxFileTitle, nMaxCustFilter; 32 bytes of lfFaceName), every text NUL-ended.
// On 0 it may have written into the buffers too; the control reads nothing back then.
// Text is in the ANSI code page. Records are read and written only during the call; nothing of them
// may be kept. The owner (hwndOwner, WinHelpA's owner) is the number ControlContainer::ParentHwnd gave.
class SystemDialogs {
 public:
  virtual ~SystemDialogs() = default;

  // Open / Save As. Reads: Flags, lpstrFilter (description/pattern pairs, the list ended by a second
  // NUL), nFilterIndex (1 for the first pair), lpstrFile (initial name), lpstrInitialDir, lpstrTitle,
  // lpstrDefExt; text pointers other than lpTemplateName are never null. On success writes the chosen
  // full path into lpstrFile, its name without folder into lpstrFileTitle, the chosen pair into
  // nFilterIndex, and result bits into Flags (the caller's bits kept). A path that does not fit
  // nMaxFile fails with 0.
  virtual int32_t GetOpenFileNameA(OPENFILENAMEA& request) = 0;
  virtual int32_t GetSaveFileNameA(OPENFILENAMEA& request) = 0;

  // Colour. Reads rgbResult as the initial colour, lpCustColors (16 entries, may be rewritten),
  // Flags. On success writes rgbResult and Flags.
  virtual int32_t ChooseColorA(CHOOSECOLORA& request) = 0;

  // Font. Starts from *lpLogFont (Flags carries kCfInitToLogFontStruct; an all-NUL lfFaceName selects
  // no face), rgbColors, nSizeMin/nSizeMax. On success rewrites *lpLogFont in place (lfHeight in pixels
  // of the screen, negative for a character height) and writes rgbColors and Flags.
  virtual int32_t ChooseFontA(CHOOSEFONTA& request) = 0;

  // Print. Reads Flags, nFromPage, nToPage, nMinPage, nMaxPage, nCopies. On success writes hDC (0 unless
  // Flags asks for a device or information context, which then belongs to the caller), Flags, the page
  // numbers and nCopies. Device-mode and device-names blocks the system hands back are the
  // implementation's to release before returning; hDevMode and hDevNames are left null.
  virtual int32_t PrintDlgA(PRINTDLGA& request) = 0;

  // Help viewer: hands the request over and returns; nonzero when it was taken.
  // helpFile is a NUL-ended text, never null (empty when no file is named).
  virtual int32_t WinHelpA(Handle owner, const char* helpFile, uint32_t command, uintptr_t data) = 0;

  // A device context's capability, e.g. kLogPixelsY; 0 when it cannot be told.
  virtual int32_t GetDeviceCaps(Handle hdc, int32_t index) = 0;
};

}  // namespace platform
