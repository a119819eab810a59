// <windows.h> for this program's Windows layer, without the macros that would rename the core's names.
#pragma once

#include <windows.h>

// <winuser.h> maps MessageBox to MessageBoxA; platform::MessageBox is the core's interface.
#undef MessageBox
