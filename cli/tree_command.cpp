// tarvex-cli tree: reads a project as "&Open..." does and prints the tree it builds.
#include <iostream>

#include "cli/command_options.h"
#include "cli/command_session.h"
#include "cli/commands.h"
#include "cli/group_session.h"
#include "cli/tree_json.h"
#include "project/mdl_file.h"

namespace cli {

namespace {

const char* const kTreeUsage = "Usage: tarvex-cli tree [--json] PROJECT.vbp|GROUP.vbg\n";

}  // namespace

int RunTree(const std::vector<std::string>& args) {
  const CommandOptions options = ReadCommandOptions(
      args, "tree", {"--json"},
      std::string(kTreeUsage) +
          "Reads the project and prints its tree: indented text, or with --json the project,\n"
          "its components and the tree with keys, texts, image-list positions and expansion.\n"
          "For a group, each member's tree in group order, the startup project marked; a member\n"
          "that cannot be read shows \"Error.\" and makes the exit status 1.\n");
  if (options.exit) return *options.exit;
  const bool json = options.Has("--json");
  const std::vector<std::string>& paths = options.operands;
  if (paths.size() != 1) {
    std::cerr << kTreeUsage;
    return kExitUsage;
  }
  if (IsGroupArgument(paths[0])) return RunGroupTree(paths[0], json);
  return WithSession([&](CommandSession& session) {
    if (!session.OpenProject(paths[0], CommandSession::Reasons::Said)) return 1;
    const auto& model = mdlFile::Model();
    std::cout << (json ? TreeJson(model, session.tree(), session.codePage())
                       : TreeText(model, session.tree(), session.codePage()));
    return 0;
  });
}

}  // namespace cli
