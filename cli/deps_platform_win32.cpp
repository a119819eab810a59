#include "cli/deps_platform.h"
#include "platform/win32/win32_type_libraries.h"

namespace cli {

const bool kHasWinePrefix = false;

DepsPlatform MakeDepsPlatform(const std::optional<std::string>&, const platform::CodePage&) {
  return {std::make_unique<win32::Win32TypeLibRegistry>(), std::string(),
          std::make_unique<win32::Win32LibraryFiles>()};
}

std::unique_ptr<platform::LibraryFiles> MakeLibraryFiles(const std::optional<std::string>&,
                                                         const platform::CodePage&) {
  return std::make_unique<win32::Win32LibraryFiles>();
}

}  // namespace cli
