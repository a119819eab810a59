#include "cli/console.h"

#include <iostream>

namespace cli {

void ConsoleMessages::Show(const std::string& text, int32_t style, const std::string&) {
  const bool error = (style & platform::MB_ICONERROR) != 0;
  (error ? std::cerr : std::cout) << codePage_.ToUtf8(text) << '\n' << std::flush;
}

}  // namespace cli
