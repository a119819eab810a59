// tarvex.exe: the Windows program's entry. Setup mode or the main window, on the real Windows API.
#include <iostream>

#include "app/mdl_main.h"
#include "platform/win32/command_line.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_main_window.h"
#include "platform/win32/win32_probe_files.h"
#include "platform/win32/win32_setup.h"
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
    const auto codePage = win32::AnsiCodePage();
    win32::Shell32Folders shellFolders;
    win32::Advapi32Registry registry;
    const win32::ModuleProgramFile programFile;
    win32::Win32ProbeFiles probeFiles;
    win32::TimeSeededRandom random;
    win32::ComShellLinks shellLinks;
    SetupPlatform platform{shellFolders, registry, programFile, probeFiles, random, shellLinks, *codePage};
    return mdlMain::Main(
        win32::ArgumentText(::GetCommandLineA()), platform,
        [&](const std::optional<std::string>& projectFile) {
          win32::Win32MainWindow window(instance);
          return window.Run(showCommand, projectFile);
        },
        std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "tarvex: " << error.what() << '\n';
    return 1;
  }
}
