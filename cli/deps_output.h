// Dependencies as `tarvex-cli deps` prints them: one a line, or a JSON array.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/findings_output.h"
#include "deps/dependency.h"
#include "deps/resolve.h"
#include "platform/code_page.h"

namespace cli {

// Each is written as it is made, a line or an object at a time: a project of thousands of references
// never holds its whole output.
// "PATH:LINE: status: text" a line; resolutions[i] is dependencies[i]'s.
void WriteDepsText(std::ostream& out, const std::vector<deps::Dependency>& dependencies,
                   const std::vector<deps::Resolution>& resolutions, const PathShower& shown,
                   const platform::CodePage& codePage);
// An array of {file, line, kind, guid, version, lcid, name, description, status, found, registered_version}.
void WriteDepsJson(std::ostream& out, const std::vector<deps::Dependency>& dependencies,
                   const std::vector<deps::Resolution>& resolutions, const PathShower& shown,
                   const platform::CodePage& codePage);
// Whether the project loads with every one of them: each status is one that loads.
bool AllLoad(const std::vector<deps::Resolution>& resolutions);

}  // namespace cli
