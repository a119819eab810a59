// The command line's host on POSIX: the code page from TARVEX_CODEPAGE, files through the Z: mapping.
#include <filesystem>

#include "cli/console.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_text_files.h"

namespace cli {

Host MakeHost() {
  Host host;
  host.codePage = posix::SystemCodePage();
  host.files = std::make_unique<posix::PosixTextFiles>(*host.codePage);
  host.packFiles = std::make_unique<posix::PosixPackFiles>(*host.codePage);
  return host;
}

std::optional<std::string> WindowsPathOf(const std::string& argument, const platform::CodePage& codePage) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(argument, error);
  if (error) return std::nullopt;
  return posix::WindowsFromHost(absolute.lexically_normal().string(), codePage);
}

}  // namespace cli
