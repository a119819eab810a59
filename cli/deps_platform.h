// What `deps` asks of the host: the registry to look libraries up in, and the files to look at.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/code_page.h"
#include "platform/library_files.h"
#include "platform/registry.h"

namespace cli {

struct DepsPlatform {
  std::unique_ptr<platform::TypeLibRegistry> registry;  // null when there is none to ask
  std::string noRegistry;                               // why, then
  std::unique_ptr<platform::LibraryFiles> files;
};

// On POSIX, the registry of the Wine prefix given, else $WINEPREFIX, else ~/.wine; on Windows the
// real one (a prefix given there is a usage error, checked by the command).
DepsPlatform MakeDepsPlatform(const std::optional<std::string>& winePrefix,
                              const platform::CodePage& codePage);

// Only the files: what a member's own library is read through.
std::unique_ptr<platform::LibraryFiles> MakeLibraryFiles(const std::optional<std::string>& winePrefix,
                                                         const platform::CodePage& codePage);

// Whether --wine-prefix means anything on this host.
extern const bool kHasWinePrefix;

}  // namespace cli
