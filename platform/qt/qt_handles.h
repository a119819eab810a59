// The handle numbers the Qt window hands to the common-dialog control, which passes them back to the
// system dialogs: the main window, the program, and the screen's device context.
#pragma once

#include "platform/dialog_records.h"

namespace qtui {

inline constexpr platform::Handle kMainWindowHandle = 1;
inline constexpr platform::Handle kInstanceHandle = 0x400000;
inline constexpr platform::Handle kScreenDc = 2;
// Printer contexts a print dialog returns are numbered from here.
inline constexpr platform::Handle kFirstPrinterDc = 0x1000;

// The screen's logical resolution and twips per pixel (15 at 96 dots per inch).
double ScreenDpiX();
double ScreenDpiY();
float TwipsPerPixelX();
float TwipsPerPixelY();

}  // namespace qtui
