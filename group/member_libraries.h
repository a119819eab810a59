// The type libraries a group's members build: a member that builds an ActiveX library or control names its
// library's file twice, as the binary-compatibility file it must stay compatible with and as its output
// file. A compiled reference of another member to that library is a reference to the member.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "deps/dependency.h"
#include "group/member_references.h"
#include "platform/library_files.h"
#include "project/project_model.h"

namespace mdlGroup {

// A file a member's library is read from: as the project file writes it, and its full Windows path.
struct LibraryFilePath {
  std::string written;
  std::string full;
  const char* role = "";  // "binary-compatibility file" or "output file"
};

struct MemberLibrary {
  std::size_t member = 0;
  LibraryFilePath file;
  std::string shown;  // the file's full host path
  platform::TypeLibIdentity identity;
};

// The files a member's library is read from, in this order: the binary-compatibility file
// ("CompatibleEXE32=", when "CompatibleMode" asks for compatibility) and the output file ("ExeName32=" in
// the folder "Path32=" names, relative to the project's folder; the project's folder without it).
std::vector<LibraryFilePath> LibraryFilePaths(const mdlFile::ProjectModel& model);

// The libraries read from the members that were read (models[i] null for one that was not); a file that is
// missing or holds no type library gives none.
std::vector<MemberLibrary> ReadMemberLibraries(const std::vector<const mdlFile::ProjectModel*>& models,
                                               platform::LibraryFiles& files);

// The library of a member with the dependency's GUID, if any; the member's own library is not meant when
// the member itself names it.
const MemberLibrary* ProvidingLibrary(const std::vector<MemberLibrary>& libraries,
                                      const deps::Dependency& dependency, std::size_t member);

// "from needs to" for each compiled reference (a "Reference=*\G", "Object={GUID}" or a form's Object line)
// of a member to another member's library, in member then dependency order. dependencies[i] are member i's.
std::vector<MemberEdge> LibraryEdges(const std::vector<std::vector<deps::Dependency>>& dependencies,
                                     const std::vector<MemberLibrary>& libraries);

}  // namespace mdlGroup
