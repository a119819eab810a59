// The saved settings of the main window's control cmnMain, in the property-bag text.
#pragma once

#include <string>

namespace cmndlg {

// Only its filter differs from the defaults; it was saved under the key "filter".
std::string MainWindowSettings();

}  // namespace cmndlg
