// tarvex-cli tree: reads a project as "&Open..." does and prints the tree it builds.
#include <iostream>

#include "cli/command_session.h"
#include "cli/commands.h"
#include "cli/group_session.h"
#include "cli/tree_json.h"
#include "project/mdl_file.h"

namespace cli {

int RunTree(const std::vector<std::string>& args) {
  bool json = false;
  std::vector<std::string> paths;
  for (const auto& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << "Usage: tarvex-cli tree [--json] PROJECT.vbp|GROUP.vbg\n"
                   "Reads the project and prints its tree: indented text, or with --json the project,\n"
                   "its components and the tree with keys, texts, image-list positions and expansion.\n"
                   "For a group, each member's tree in group order, the startup project marked; a member\n"
                   "that cannot be read shows \"Error.\" and makes the exit status 1.\n";
      return 0;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      std::cerr << "tarvex-cli tree: unknown option '" << arg << "'\n";
      return kExitUsage;
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() != 1) {
    std::cerr << "Usage: tarvex-cli tree [--json] PROJECT.vbp|GROUP.vbg\n";
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
