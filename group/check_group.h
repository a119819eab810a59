// The group's own findings for `tarvex-cli check`, and the members' findings seen from the group.
#pragma once

#include <string>
#include <vector>

#include "check/check_project.h"
#include "group/group_model.h"
#include "group/member_references.h"
#include "project/project_model.h"

namespace mdlGroup {

// A member as the check read it: its model, or why its project file could not be read.
struct CheckedMember {
  const mdlFile::ProjectModel* model = nullptr;
  std::string failure;
};

// The group file's findings (its problems, members missing, the startup project, duplicate project files
// and names, references outside the group, reference cycles) and the shared-file notes in the members'
// project files, in group order. A cycle may run through the library edges too (LibraryEdges).
std::vector<check::Finding> CheckGroup(const GroupModel& group, const std::vector<CheckedMember>& members,
                                       const std::vector<MemberEdge>& libraryEdges = {});

// Drops the outside-folder findings of a member whose component stays inside the group file's folder:
// the group's folder is what is moved.
void KeepInsideGroup(const GroupModel& group, const mdlFile::ProjectModel& member,
                     std::vector<check::Finding>& findings);

}  // namespace mdlGroup
