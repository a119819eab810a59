// The desktop window of the normal road: shows frmMain and runs until it is closed.
#pragma once

#include <optional>
#include <string>

#include "program/posix/posix_host.h"

// Returns the program's exit status. projectFile is a host path given on the command line, read once the
// window shows.
int ShowMainWindow(int argc, char** argv, posix::Host& host, const std::optional<std::string>& projectFile);
