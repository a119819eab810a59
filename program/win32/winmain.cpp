// tarvex.exe: the Windows program's entry. Setup mode or the main window, on the real Windows API.
#include <iostream>
#include <memory>
#include <string>

#include "app/mdl_main.h"
#include "platform/win32/command_line.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_shell_link.h"
#include "platform/win32/windows_api.h"
#include "program/win32/win32_host.h"
#include "program/win32/win32_main_window.h"
#include "project/mdl_trim.h"
#include "tarvex_version_line.h"
// After <windows.h>, which it builds on.
#include <commctrl.h>

namespace {

// A window program has no console of its own: the line goes to the standard output it was given (a pipe
// or a file), else to the console of the program that started it, else into a message box.
void ShowVersion() {
  const std::string line = std::string(TARVEX_VERSION_LINE) + "\r\n";
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  const auto close = [](HANDLE handle) { ::CloseHandle(handle); };
  std::unique_ptr<void, decltype(close)> console(nullptr, close);
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = ::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (out != INVALID_HANDLE_VALUE) console.reset(out);
  }
  DWORD written = 0;
  if (out != nullptr && out != INVALID_HANDLE_VALUE &&
      ::WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr)) {
    return;
  }
  ::MessageBoxA(nullptr, TARVEX_VERSION_LINE, "Tarvex", 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // The one command line that is neither a switch nor a project file.
  if (mdlTrim::TrimBlanks(win32::ArgumentText(::GetCommandLineA())) == "--version") {
    ShowVersion();
    return 0;
  }
  try {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The ShellLink object and the common dialogs want a single-threaded apartment.
    const win32::ComApartment apartment;
    win32::Host host(win32::AnsiCodePage());
    SetupPlatform platform = host.Setup();
    return mdlMain::Main(
        win32::ArgumentText(::GetCommandLineA()), platform,
        [&](const std::optional<std::string>& projectFile) {
          win32::Win32MainWindow window(instance, host.files(), host.packFiles());
          return window.Run(showCommand, projectFile);
        },
        std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "tarvex: " << error.what() << '\n';
    return 1;
  }
}
