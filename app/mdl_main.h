// The program's start: parse the switches, then either install the shortcut and end, or show the window.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "platform/errors.h"
#include "setup/setup_platform.h"

namespace mdlMain {

inline constexpr const char* kShortcutName = "Tarvex.lnk";
inline constexpr const char* kShortcutDescription = "Lumor Tarvex";

// Runs the program on its argument text (the command line without the program's own path) and returns
// its exit status. With /Setup it writes the shortcut and returns 0 without showing a window, or, when
// that fails, writes "Setup failed." and the HRESULT to errors and returns 1. Otherwise it returns what
// showMainWindow returns.
int Main(const std::string& argumentText, SetupPlatform& platform, const std::function<int()>& showMainWindow,
         std::ostream& errors);

// Setup mode alone: chooses the programs folder and creates the shortcut. Throws platform::RaisedError.
void InstallShortcut(SetupPlatform& platform);

// "Setup failed. 0x80070005" for an error carrying that HRESULT.
std::string SetupFailureText(const platform::RaisedError& error);

}  // namespace mdlMain
