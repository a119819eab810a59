// Dependencies as `tarvex-cli deps` prints them: one a line, or a JSON array.
#pragma once

#include <string>
#include <vector>

#include "cli/findings_output.h"
#include "deps/dependency.h"
#include "deps/resolve.h"
#include "platform/code_page.h"

namespace cli {

// "PATH:LINE: status: text" a line; resolutions[i] is dependencies[i]'s.
std::string DepsText(const std::vector<deps::Dependency>& dependencies,
                     const std::vector<deps::Resolution>& resolutions, const PathShower& shown,
                     const platform::CodePage& codePage);
// An array of {file, line, kind, guid, version, lcid, name, description, status, found, registered_version}.
std::string DepsJson(const std::vector<deps::Dependency>& dependencies,
                     const std::vector<deps::Resolution>& resolutions, const PathShower& shown,
                     const platform::CodePage& codePage);
// Whether the project loads with every one of them: each status is one that loads.
bool AllLoad(const std::vector<deps::Resolution>& resolutions);

}  // namespace cli
