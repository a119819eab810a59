// The command line's host on POSIX: the code page from TARVEX_CODEPAGE, files through the Z: mapping.
#include <algorithm>
#include <filesystem>

#include "cli/console.h"
#include "platform/posix/host_paths.h"
#include "program/posix/posix_host.h"

namespace cli {

std::unique_ptr<Host> MakeHost() {
  return std::make_unique<HostOf<posix::Host>>();
}

std::optional<std::string> WindowsPathOf(const std::string& argument, const platform::CodePage& codePage) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(argument, error);
  if (error) return std::nullopt;
  return posix::WindowsFromHost(absolute.lexically_normal().string(), codePage);
}

const char* const kArgumentSeparators = "/";

std::string HostSpelling(std::string relative) {
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return relative;
}

}  // namespace cli
