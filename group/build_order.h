// The order in which a group's members are built: each after the members it needs, otherwise in group order.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "group/member_references.h"

namespace mdlGroup {

struct BuildOrder {
  std::vector<std::size_t> order;  // every member once, when there is no cycle
  // The members of one cycle, each needing the next and the last the first, starting at the one first in
  // group order; empty when there is none. A member that needs itself is a cycle of one.
  std::vector<std::size_t> cycle;
};

// The edges may come from any source (project references, compiled references to a member's library);
// edges naming a member outside 0..count-1 are ignored.
BuildOrder OrderMembers(std::size_t count, const std::vector<MemberEdge>& edges);

// The words for a cycle, naming its members as the group file writes them.
std::string CycleText(const GroupModel& group, const std::vector<std::size_t>& cycle);

}  // namespace mdlGroup
