#include "cli/console.h"

#include <filesystem>
#include <iostream>

#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"

namespace cli {

void ConsoleMessages::Show(const std::string& text, int32_t style, const std::string&) {
  const bool error = (style & platform::MB_ICONERROR) != 0;
  if (error) showedError_ = true;
  (error ? std::cerr : std::cout) << codePage_.ToUtf8(text) << '\n' << std::flush;
}

Host MakeHost() {
  Host host;
  host.codePage = posix::SystemCodePage();
  host.files = std::make_unique<posix::PosixTextFiles>(*host.codePage);
  return host;
}

std::optional<std::string> WindowsPathOf(const std::string& argument, const platform::CodePage& codePage) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(argument, error);
  if (error) return std::nullopt;
  return posix::WindowsFromHost(absolute.lexically_normal().string(), codePage);
}

}  // namespace cli
