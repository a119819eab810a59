// The desktop window of the normal road: shows frmMain and runs until it is closed.
#pragma once

#include "platform/posix/posix_host.h"

// Returns the program's exit status.
int ShowMainWindow(int argc, char** argv, posix::Host& host);
