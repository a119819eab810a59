// A member's dependencies as the group sees them: a project reference to a member is that member, and a
// library or control another member builds is provided by that member, whatever the registry says.
#pragma once

#include <cstddef>
#include <vector>

#include "deps/dependency.h"
#include "deps/resolve.h"
#include "group/group_model.h"
#include "group/member_libraries.h"

namespace mdlGroup {

struct MemberDependencies {
  const GroupModel& group;
  const std::vector<const mdlFile::ProjectModel*>& models;  // null for a member that was not read
  const std::vector<MemberLibrary>& libraries;
};

// Changes the resolutions of member's dependencies (resolved as a project's) that the group decides:
// a "*\A" reference to a member that was read is found, naming the member; a compiled reference to
// another member's library is deps::Status::Member.
void ResolveWithinGroup(const MemberDependencies& group, std::size_t member,
                        const std::vector<deps::Dependency>& dependencies,
                        std::vector<deps::Resolution>& resolutions);

}  // namespace mdlGroup
