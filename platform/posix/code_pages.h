// The code page of this system's text on POSIX: Windows-1252, or the one TARVEX_CODEPAGE names.
#pragma once

#include <memory>
#include <string>

#include "platform/code_page.h"

namespace posix {

// A Windows code page by number (1252 has a table of its own; the others go through iconv).
// Throws std::invalid_argument for a number this system cannot convert.
std::unique_ptr<platform::CodePage> MakeCodePage(int number);

// The code page named by the environment variable TARVEX_CODEPAGE, or 1252 when it is unset or empty.
// Throws std::invalid_argument when it names a code page this system cannot convert.
std::unique_ptr<platform::CodePage> SystemCodePage();

}  // namespace posix
