// <windows.h> for this program's Windows layer, without the macros that would rename the core's names.
#pragma once

#include <windows.h>

// <winuser.h> maps MessageBox to MessageBoxA; platform::MessageBox is the core's interface.
#undef MessageBox
// The message box styles are the core's constants (platform::MB_OK ...), with the system's values.
#undef MB_OK
#undef MB_ICONERROR
#undef MB_ICONINFORMATION
