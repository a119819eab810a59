// tarvex-cli deps: what a project needs beyond its own files (type libraries, controls, its resource
// file, related documents, the binary-compatibility file, other projects), and whether this machine has it.
#include <iostream>
#include <optional>

#include "cli/command_session.h"
#include "cli/commands.h"
#include "cli/deps_output.h"
#include "cli/deps_platform.h"
#include "cli/group_session.h"
#include "deps/dependency.h"
#include "deps/resolve.h"
#include "project/mdl_file.h"

namespace cli {

namespace {

const char* const kDepsUsage = "Usage: tarvex-cli deps [--json] [--wine-prefix DIR] PROJECT.vbp|GROUP.vbg\n";

}  // namespace

int RunDeps(const std::vector<std::string>& args) {
  bool json = false;
  std::optional<std::string> prefix;
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--json") {
      json = true;
    } else if (arg == "--wine-prefix" && kHasWinePrefix) {
      if (i + 1 == args.size()) {
        std::cerr << "tarvex-cli deps: --wine-prefix needs a folder\n" << kDepsUsage;
        return kExitUsage;
      }
      prefix = args[++i];
    } else if (arg == "--help" || arg == "-h") {
      std::cout
          << kDepsUsage
          << "Lists what the project needs beyond its own files, one line each, PATH:LINE: status: text, or\n"
             "with --json an array of {file, line, kind, guid, version, lcid, name, description, status,\n"
             "found, registered_version}. Libraries and controls are looked up in the registry as the\n"
             "development environment finds them (on Linux: the registry files of the Wine prefix given,\n"
             "else $WINEPREFIX, else ~/.wine), then in the files. With a group file, every member's in "
             "group\n"
             "order, one list: a '*\\A' reference to a member is found, naming it, and a library or control "
             "a\n"
             "member builds (the type library in its binary-compatibility file or its output file) is\n"
             "member, whatever the registry says. Exit status 0 when every status is found, found-newer,\n"
             "stale-hint, unchecked or member, 1 otherwise or when the project or a member cannot be read.\n";
      return 0;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      std::cerr << "tarvex-cli deps: unknown option '" << arg << "'\n" << kDepsUsage;
      return kExitUsage;
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() != 1) {
    std::cerr << kDepsUsage;
    return kExitUsage;
  }
  if (IsGroupArgument(paths[0])) return RunGroupDeps(paths[0], json, prefix);
  return WithSession([&](CommandSession& session) {
    if (!session.OpenProject(paths[0], CommandSession::Reasons::Said)) return 1;
    Host& host = session.host();
    const auto& model = mdlFile::Model();
    const auto dependencies = deps::ReadDependencies(model, host.files());
    auto platform = MakeDepsPlatform(prefix, host.codePage());
    const auto resolutions =
        deps::Resolve(dependencies, {model, platform.registry.get(), platform.noRegistry, *platform.files});
    const PathShower shown(paths[0], model.filePath, host.codePage());
    if (json) {
      WriteDepsJson(std::cout, dependencies, resolutions, shown, host.codePage());
    } else {
      WriteDepsText(std::cout, dependencies, resolutions, shown, host.codePage());
    }
    return AllLoad(resolutions) ? 0 : 1;
  });
}

}  // namespace cli
