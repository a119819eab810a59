// Builds without a desktop toolkit have no window to show.
#include <iostream>

#include "program/posix/main_window.h"

int ShowMainWindow(int, char**, posix::Host&, const std::optional<std::string>&) {
  std::cerr << "tarvex: this build has no desktop window; use tarvex-cli\n";
  return 1;
}
