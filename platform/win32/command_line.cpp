// Cutting the program's own name off the command line.
#include "platform/win32/command_line.h"

#include <cstring>

namespace win32 {

std::string ArgumentText(const char* commandLine) {
  if (commandLine == nullptr) return {};
  const char* p = commandLine;
  if (*p == '"') {
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  }
  // An unquoted name, or what directly follows a quoted one, runs to the first blank or tab.
  while (*p != '\0' && *p != ' ' && *p != '\t') ++p;
  while (*p == ' ' || *p == '\t') ++p;
  return std::string(p);
}

}  // namespace win32
