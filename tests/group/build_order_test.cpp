// The build order over tests/data/group/orders.txt: each member after those it needs, otherwise in group
// order, and a cycle named from its first member in group order.
#include <gtest/gtest.h>

#include <sstream>

#include "group/build_order.h"
#include "tests/fakes/table_file.h"

namespace {

TEST(BuildOrder, FollowsTheTable) {
  for (auto row : fakes::ReadTable("group/orders.txt")) {
    ASSERT_EQ(row.size(), 3u) << row[0];
    for (auto& field : row) {
      field.erase(0, field.find_first_not_of(' '));
      field.erase(field.find_last_not_of(' ') + 1);
    }
    std::vector<mdlGroup::MemberEdge> edges;
    std::istringstream edgeText(row[1]);
    for (std::size_t from, to; edgeText >> from && edgeText.ignore(1) && edgeText >> to;)
      edges.push_back({from, to});
    const auto result = mdlGroup::OrderMembers(std::stoul(row[0]), edges);
    std::string got = result.cycle.empty() ? "" : "cycle";
    for (const std::size_t i : result.cycle.empty() ? result.order : result.cycle)
      got += (got.empty() ? "" : " ") + std::to_string(i);
    EXPECT_EQ(got, row[2]) << row[0] << " | " << row[1];
    // A cycle leaves no order, and an order holds every member once.
    EXPECT_TRUE(result.cycle.empty() || result.order.empty());
  }
}

}  // namespace
