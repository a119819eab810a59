#include "group/build_order.h"

#include <algorithm>

namespace mdlGroup {

BuildOrder OrderMembers(std::size_t count, const std::vector<MemberEdge>& edges) {
  std::vector<std::vector<std::size_t>> needs(count);
  for (const auto& edge : edges)
    if (edge.from < count && edge.to < count) needs[edge.from].push_back(edge.to);
  std::vector<bool> built(count, false);
  const auto ready = [&](std::size_t i) {
    return std::all_of(needs[i].begin(), needs[i].end(), [&](std::size_t j) { return built[j]; });
  };
  BuildOrder result;
  while (result.order.size() < count) {
    // The first member in group order whose needs are built: groups are short, so quadratic is fine.
    std::size_t next = count;
    for (std::size_t i = 0; i < count && next == count; ++i)
      if (!built[i] && ready(i)) next = i;
    if (next == count) break;
    built[next] = true;
    result.order.push_back(next);
  }
  if (result.order.size() == count) return result;
  // Every member left waits for another one left: walking from one along unbuilt needs must come back.
  std::size_t at = 0;
  while (built[at]) ++at;
  std::vector<std::size_t> path;
  std::vector<long> seenAt(count, -1);
  while (seenAt[at] < 0) {
    seenAt[at] = static_cast<long>(path.size());
    path.push_back(at);
    at = *std::find_if(needs[at].begin(), needs[at].end(), [&](std::size_t j) { return !built[j]; });
  }
  result.cycle.assign(path.begin() + seenAt[at], path.end());
  std::rotate(result.cycle.begin(), std::min_element(result.cycle.begin(), result.cycle.end()),
              result.cycle.end());
  result.order.clear();
  return result;
}

std::string CycleText(const GroupModel& group, const std::vector<std::size_t>& cycle) {
  std::string names;
  for (const std::size_t i : cycle) names += "'" + group.members[i].path + "' -> ";
  return "the members reference each other in a cycle, " + names + "'" + group.members[cycle.front()].path +
         "', so no build order exists: remove one of the references";
}

}  // namespace mdlGroup
