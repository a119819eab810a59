// Identifiers of the Windows program's resources and menu commands (shared with the resource script).
#pragma once

#define IDR_MAINMENU 100
#define IDR_ACCELERATORS 101
#define IDM_FILE_OPEN 1001
#define IDM_FILE_SAVEAS 1002
#define IDM_FILE_EXIT 1003
