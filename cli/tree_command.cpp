// tarvex-cli tree: reads a project as "&Open..." does and prints the tree it builds.
#include <iostream>
#include <stdexcept>

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/tree_json.h"
#include "platform/memory_tree_view.h"
#include "project/mdl_file.h"

namespace cli {

int RunTree(const std::vector<std::string>& args) {
  bool json = false;
  std::vector<std::string> paths;
  for (const auto& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << "Usage: tarvex-cli tree [--json] PROJECT.vbp\n"
                   "Reads the project and prints its tree: indented text, or with --json the project,\n"
                   "its components and the tree with keys, texts, image-list positions and expansion.\n";
      return 0;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      std::cerr << "tarvex-cli tree: unknown option '" << arg << "'\n";
      return kExitUsage;
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() != 1) {
    std::cerr << "Usage: tarvex-cli tree [--json] PROJECT.vbp\n";
    return kExitUsage;
  }
  Host host;
  try {
    host = MakeHost();
  } catch (const std::invalid_argument& error) {
    std::cerr << "tarvex-cli: " << error.what() << '\n';
    return kExitUsage;
  }
  ConsolePointer pointer;
  ConsoleMessages messages(*host.codePage);
  platform::MemoryTreeView tree;
  NoMenuCommand saveAs;
  const auto path = WindowsPathOf(paths[0], *host.codePage);
  if (!path) {
    // A path the code page cannot spell cannot be opened by the project's own rules either.
    messages.Show("Error.", platform::MB_OK | platform::MB_ICONERROR, mdlFile::kAppTitle);
    return 1;
  }
  const mdlFile::ReaderContext context{*host.files, pointer, messages, tree, saveAs};
  if (!mdlFile::ReadProject(*path, context)) return 1;
  const auto& model = mdlFile::Model();
  std::cout << (json ? TreeJson(model, tree, *host.codePage) : TreeText(model, tree, *host.codePage));
  return 0;
}

}  // namespace cli
