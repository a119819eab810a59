// tarvex.exe: the Windows program's entry. Setup mode or the main window, on the real Windows API.
#include <iostream>

#include "app/mdl_main.h"
#include "platform/win32/command_line.h"
#include "platform/win32/win32_code_page.h"
#include "program/win32/win32_host.h"
#include "program/win32/win32_main_window.h"
#include "platform/win32/win32_shell_link.h"
#include "platform/win32/windows_api.h"
// After <windows.h>, which it builds on.
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
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
