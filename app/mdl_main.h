// The program's start: parse the switches, then either install the shortcut and end, or show the window.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "platform/errors.h"
#include "setup/setup_platform.h"

namespace mdlMain {

inline constexpr const char* kShortcutName = "Tarvex.lnk";
inline constexpr const char* kShortcutDescription = "Lumor Tarvex";

// What the window is shown with: the project file named on the command line, if any, as written there.
using ShowMainWindow = std::function<int(const std::optional<std::string>& projectFile)>;

// Runs the program on its argument text (the command line without the program's own path) and returns
// its exit status. With /Setup it writes the shortcut and returns 0 without showing a window, or, when
// that fails, writes "Setup failed." and the HRESULT to errors and returns 1. Otherwise it returns what
// showMainWindow returns, given ProjectArgument's answer.
int Main(const std::string& argumentText, SetupPlatform& platform, const ShowMainWindow& showMainWindow,
         std::ostream& errors);

// The project file a command line names when it is one path and no switch: the text trimmed of blanks,
// without the quotes a shell puts round a path with blanks. A text beginning with "/" is a switch unless
// it ends in ".vbp" (a host path on a system whose paths begin with "/"); text with a further switch
// after a blank, or with quotes inside it, names no project.
std::optional<std::string> ProjectArgument(const std::string& argumentText);

// Setup mode alone: chooses the programs folder and creates the shortcut. Throws platform::RaisedError.
void InstallShortcut(SetupPlatform& platform);

// "Setup failed. 0x80070005" for an error carrying that HRESULT.
std::string SetupFailureText(const platform::RaisedError& error);

}  // namespace mdlMain
