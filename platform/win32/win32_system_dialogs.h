// The system's common dialogs (comdlg32), the help viewer (user32) and device capabilities (gdi32).
#pragma once

#include "platform/system_dialogs.h"

namespace win32 {

// The request records are the published layouts, so each is handed to the system as it is.
class Win32SystemDialogs : public platform::SystemDialogs {
 public:
  int32_t GetOpenFileNameA(platform::OPENFILENAMEA& request) override;
  int32_t GetSaveFileNameA(platform::OPENFILENAMEA& request) override;
  int32_t ChooseColorA(platform::CHOOSECOLORA& request) override;
  int32_t ChooseFontA(platform::CHOOSEFONTA& request) override;
  int32_t PrintDlgA(platform::PRINTDLGA& request) override;
  int32_t WinHelpA(platform::Handle owner, const char* helpFile, uint32_t command, uintptr_t data) override;
  int32_t GetDeviceCaps(platform::Handle hdc, int32_t index) override;
};

}  // namespace win32
