// What becomes of each dependency on this machine: the registry asked as the development environment's
// loader asks it, the files looked at, and one status from what was found.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "deps/dependency.h"
#include "platform/library_files.h"
#include "platform/registry.h"
#include "project/project_model.h"

namespace deps {

enum class Status {
  Found,
  FoundNewer,
  StaleHint,
  NotRegistered,
  VersionMissing,
  FileMismatch,
  SixtyFourBitOnly,
  Missing,
  Unchecked,
  OcxAsReference,
  ObjectNotInProject,
  Member,  // a library another project of the group builds: it loads once that project is built
};

std::string_view StatusName(Status status);
// found, found-newer, stale-hint, unchecked and member: the project loads (or nothing says it does not).
bool Loads(Status status);

struct Resolution {
  Status status = Status::Missing;
  std::string text;                  // plain words, code-page bytes
  std::optional<std::string> found;  // the full host path of the file used
  std::optional<std::string> registeredVersion;
};

// registry is null when there is none to ask; its why says so in the texts.
struct ResolveInput {
  const mdlFile::ProjectModel& model;
  platform::TypeLibRegistry* registry;
  std::string noRegistry;  // why there is no registry, when registry is null
  platform::LibraryFiles& files;
};

// One resolution per dependency, in the same order.
std::vector<Resolution> Resolve(const std::vector<Dependency>& dependencies, const ResolveInput& input);

// A reference whose path names an .ocx: the development environment refuses to load the project.
bool IsOcxReference(const Dependency& dependency);

// A path written in a reference, without the resource index a library holding several ends in
// ("vbscript.dll\3"), and that index (0 when none).
std::pair<std::string, uint32_t> WithoutResourceIndex(std::string_view path);

}  // namespace deps
