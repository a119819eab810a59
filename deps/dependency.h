// What a project needs beyond its own component files, as its project file and its components'
// headers name it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_files.h"
#include "project/project_model.h"

namespace deps {

enum class Kind {
  Reference,          // Reference=*\G{GUID}#...
  ProjectReference,   // Reference=*\A or Object=*\A: another project
  Object,             // Object= in the project file
  ComponentObject,    // Object = "..." in a form's (or other designer's) own header
  ResourceFile,       // ResFile32=
  RelatedDocument,    // RelatedDoc=
  CompatibilityFile,  // CompatibleEXE32=, when CompatibleMode asks for it
};

std::string_view KindName(Kind kind);

struct Version {
  uint16_t major = 0;
  uint16_t minor = 0;
};

struct Dependency {
  Kind kind = Kind::Reference;
  std::string file;  // the Windows path of the file that names it
  int64_t line = 0;  // from 1
  std::string guid;  // "{...}" upper case; empty when the line names none
  std::optional<Version> version;
  std::optional<uint32_t> lcid;
  std::string name;         // the path or file as written
  std::string description;  // a reference's description; an Object= line's ProgID
  bool malformed = false;   // the line does not read as its kind's form
};

// The dependencies of the model's project, in file order: the project file's lines, then each form,
// user control, property page, user document and designer header in the project's order. Component
// files that cannot be read add nothing (check reports them).
std::vector<Dependency> ReadDependencies(const mdlFile::ProjectModel& model, platform::TextFiles& files);

// The project's folder joined with a path, unless the path is absolute.
std::string FullPath(const mdlFile::ProjectModel& model, std::string_view path);

// The text of "MAJOR.MINOR" in hexadecimal, as the registry and the project file write it.
std::string VersionText(Version version);

}  // namespace deps
