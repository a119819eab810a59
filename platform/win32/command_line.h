// The program's argument text as Windows gives it: the command line after the program's own name.
#pragma once

#include <string>

namespace win32 {

// The command line without its first item, the program's name, by the rules Windows parses that
// item with: a quoted name runs to the next quote (backslashes are no escapes in it), an unquoted
// one to the first blank or tab; the blanks and tabs after it go too. The rest is kept as written.
std::string ArgumentText(const char* commandLine);

}  // namespace win32
