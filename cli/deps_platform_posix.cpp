#include "cli/deps_platform.h"
#include "platform/posix/prefix_library_files.h"
#include "platform/posix/wine_registry.h"

namespace cli {

const bool kHasWinePrefix = true;

DepsPlatform MakeDepsPlatform(const std::optional<std::string>& winePrefix,
                              const platform::CodePage& codePage) {
  DepsPlatform made;
  const auto prefix = posix::ChoosePrefix(winePrefix);
  if (!prefix) {
    made.noRegistry = "no registry to ask (no Wine prefix: give --wine-prefix or set WINEPREFIX)";
  } else {
    auto opened = posix::OpenWineRegistry(*prefix);
    made.registry = std::move(opened.registry);
    made.noRegistry = "no registry to ask (" + opened.problem + ")";
  }
  made.files = std::make_unique<posix::PrefixLibraryFiles>(prefix, codePage);
  return made;
}

std::unique_ptr<platform::LibraryFiles> MakeLibraryFiles(const std::optional<std::string>& winePrefix,
                                                         const platform::CodePage& codePage) {
  return std::make_unique<posix::PrefixLibraryFiles>(posix::ChoosePrefix(winePrefix), codePage);
}

}  // namespace cli
