// The command line's host on Windows: the ANSI code page (or TARVEX_CODEPAGE), the Windows file system.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "cli/console.h"
#include "platform/errors.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_files.h"
#include "program/win32/win32_host.h"

namespace cli {

std::unique_ptr<Host> MakeHost() {
  // Output is UTF-8 with "\n" line ends, byte for byte what the other platforms print.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  return std::make_unique<HostOf<win32::Host>>(win32::CommandLineCodePage());
}

std::optional<std::string> WindowsPathOf(const std::string& argument, const platform::CodePage&) {
  // The arguments already are in the ANSI code page, as Windows hands them over.
  try {
    return win32::FullPath(argument);
  } catch (const platform::FileError&) {
    return std::nullopt;
  }
}

const char* const kArgumentSeparators = "\\/";

std::string HostSpelling(std::string relative) {
  return relative;
}

}  // namespace cli
