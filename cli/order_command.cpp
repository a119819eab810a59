// tarvex-cli order GROUP.vbg: the members in the order they are built, each after the members it references.
#include <iostream>

#include "cli/command_options.h"
#include "cli/commands.h"
#include "cli/group_session.h"
#include "cli/tree_json.h"
#include "group/build_order.h"
#include "group/member_references.h"
#include "group/read_group.h"

namespace cli {

namespace {

const char* const kOrderUsage = "Usage: tarvex-cli order [--json] GROUP.vbg\n";

}  // namespace

int RunOrder(const std::vector<std::string>& args) {
  const CommandOptions options = ReadCommandOptions(
      args, "order", {"--json"},
      std::string(kOrderUsage) +
          "Reads the group and each member, and prints the members in build order, one project file a\n"
          "line as the group file writes it: each after the members it references ('Reference=*\\A'\n"
          "and 'Object=*\\A' lines) and the members whose library or control it uses (a compiled\n"
          "reference to the type library in a member's binary-compatibility file or output file),\n"
          "otherwise in group order. With --json an array of {path, line, startup}. A member that\n"
          "cannot be read or a reference cycle is an error (exit status 1).\n");
  if (options.exit) return *options.exit;
  const bool json = options.Has("--json");
  const std::vector<std::string>& paths = options.operands;
  if (paths.size() != 1 || !IsGroupArgument(paths[0])) {
    std::cerr << kOrderUsage;
    return kExitUsage;
  }
  return WithSession([&](CommandSession& session) {
    const auto group = OpenGroup(session, paths[0]);
    if (!group) return 1;
    const MembersRead read = ReadMembers(session, *group, paths[0]);
    if (read.failed) return 1;
    const auto models = read.Pointers();
    // Each member after the members it references, and after those whose library or control it uses.
    auto edges = mdlGroup::ResolveReferences(*group, models).edges;
    const auto libraryEdges = LibraryEdges(session, models);
    edges.insert(edges.end(), libraryEdges.begin(), libraryEdges.end());
    const auto order = mdlGroup::OrderMembers(group->members.size(), edges);
    if (!order.cycle.empty()) {
      PrintError(session, paths[0], group->members[order.cycle.front()].line, "reference-cycle",
                 mdlGroup::CycleText(*group, order.cycle));
      return 1;
    }
    const platform::CodePage& codePage = session.codePage();
    std::string out = json ? "[" : "";
    for (std::size_t k = 0; k < order.order.size(); ++k) {
      const auto& member = group->members[order.order[k]];
      if (!json) {
        out += codePage.ToUtf8(member.path) + "\n";
        continue;
      }
      out += k == 0 ? "\n  {\"path\": " : ",\n  {\"path\": ";
      AppendJsonString(out, codePage.ToUtf8(member.path));
      out += ", \"line\": " + std::to_string(member.line) +
             (member.startup ? ", \"startup\": true}" : ", \"startup\": false}");
    }
    if (json) out += order.order.empty() ? "]\n" : "\n]\n";
    std::cout << out;
    return 0;
  });
}

}  // namespace cli
