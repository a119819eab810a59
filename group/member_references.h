// The references between a group's members: "Reference=*\A..." and "Object=*\A..." lines name another
// project by its project file, and that project must be built first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "group/group_model.h"
#include "project/project_model.h"

namespace mdlGroup {

// One project reference of a project file: its line and the project file it names, as written.
struct ProjectReference {
  int64_t line = 0;
  std::string key;   // "reference" or "object", lower-cased
  std::string path;  // after "*\A"
};

// Every project reference among the project file's lines, in file order.
std::vector<ProjectReference> ProjectReferences(const mdlFile::ProjectModel& model);

// The full path a reference names: relative to the project file's folder unless it is absolute.
std::string ReferencedFilePath(const mdlFile::ProjectModel& model, const std::string& path);

// "from needs to": from is built after to.
struct MemberEdge {
  std::size_t from = 0;
  std::size_t to = 0;
};

// A reference of a member to a project that is no member.
struct OutsideReference {
  std::size_t member = 0;
  ProjectReference reference;
};

struct MemberReferences {
  std::vector<MemberEdge> edges;          // one for each reference to a member, in member then line order
  std::vector<OutsideReference> outside;  // references to projects that are not members
  // For each member, for each of its references in ProjectReferences order, the member it names or -1.
  std::vector<std::vector<long>> targets;
};

// The references of the members that were read (models[i] is null for one that was not).
MemberReferences ResolveReferences(const GroupModel& group,
                                   const std::vector<const mdlFile::ProjectModel*>& models);

}  // namespace mdlGroup
