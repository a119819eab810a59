// tarvex-cli deps: what a project needs beyond its own files (type libraries, controls, its resource
// file, related documents, the binary-compatibility file, other projects), and whether this machine has it.
#include <iostream>
#include <optional>

#include "cli/command_session.h"
#include "cli/commands.h"
#include "cli/deps_platform.h"
#include "cli/tree_json.h"
#include "deps/dependency.h"
#include "deps/resolve.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"

namespace cli {

namespace {

const char* const kDepsUsage = "Usage: tarvex-cli deps [--json] [--wine-prefix DIR] PROJECT.vbp\n";

// The file naming a dependency as the user would type it: the project as given, its components from the
// same folder.
std::string Shown(const std::string& file, const std::string& argument, const mdlFile::ProjectModel& model,
                  const platform::CodePage& codePage) {
  if (file == model.filePath) return argument;
  const std::string folder = mdlTrim::TextBeforeLast(model.filePath, '\\') + "\\";
  if (file.compare(0, folder.size(), folder) != 0) return codePage.ToUtf8(file);
  const auto cut = argument.find_last_of(kArgumentSeparators);
  return (cut == std::string::npos ? std::string() : argument.substr(0, cut + 1)) +
         HostSpelling(codePage.ToUtf8(std::string_view(file).substr(folder.size())));
}

void AppendOptional(std::string& out, const std::optional<std::string>& text) {
  if (text) {
    AppendJsonString(out, *text);
  } else {
    out += "null";
  }
}

std::string AsJson(const std::vector<deps::Dependency>& dependencies,
                   const std::vector<deps::Resolution>& resolutions, const std::string& argument,
                   const mdlFile::ProjectModel& model, const platform::CodePage& codePage) {
  std::string out = "[";
  for (std::size_t i = 0; i < dependencies.size(); ++i) {
    const auto& dependency = dependencies[i];
    const auto& resolution = resolutions[i];
    out += i == 0 ? "\n  {\"file\": " : ",\n  {\"file\": ";
    AppendJsonString(out, Shown(dependency.file, argument, model, codePage));
    out += ", \"line\": " + std::to_string(dependency.line) + ", \"kind\": ";
    AppendJsonString(out, std::string(deps::KindName(dependency.kind)));
    out += ", \"guid\": ";
    AppendOptional(out, dependency.guid.empty() ? std::nullopt : std::optional(dependency.guid));
    out += ", \"version\": ";
    AppendOptional(out,
                   dependency.version ? std::optional(deps::VersionText(*dependency.version)) : std::nullopt);
    out += ", \"lcid\": " + (dependency.lcid ? std::to_string(*dependency.lcid) : std::string("null"));
    out += ", \"name\": ";
    AppendJsonString(out, codePage.ToUtf8(dependency.name));
    out += ", \"description\": ";
    AppendJsonString(out, codePage.ToUtf8(dependency.description));
    out += ", \"status\": ";
    AppendJsonString(out, std::string(deps::StatusName(resolution.status)));
    out += ", \"found\": ";
    AppendOptional(out, resolution.found);
    out += ", \"registered_version\": ";
    AppendOptional(out, resolution.registeredVersion);
    out += "}";
  }
  out += dependencies.empty() ? "]\n" : "\n]\n";
  return out;
}

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
             "else $WINEPREFIX, else ~/.wine), then in the files. Exit status 0 when every status is found,\n"
             "found-newer, stale-hint or unchecked, 1 otherwise or when the project cannot be read.\n";
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
  return WithSession([&](CommandSession& session) {
    if (!session.OpenProject(paths[0], CommandSession::Reasons::Said)) return 1;
    Host& host = session.host();
    const auto& model = mdlFile::Model();
    const auto dependencies = deps::ReadDependencies(model, host.files());
    auto platform = MakeDepsPlatform(prefix, host.codePage());
    const auto resolutions =
        deps::Resolve(dependencies, {model, platform.registry.get(), platform.noRegistry, *platform.files});
    bool loads = true;
    std::string out;
    if (json) {
      out = AsJson(dependencies, resolutions, paths[0], model, host.codePage());
    }
    for (std::size_t i = 0; i < dependencies.size(); ++i) {
      loads = loads && deps::Loads(resolutions[i].status);
      if (!json) {
        out += Shown(dependencies[i].file, paths[0], model, host.codePage()) + ":" +
               std::to_string(dependencies[i].line) + ": " +
               std::string(deps::StatusName(resolutions[i].status)) + ": " +
               host.codePage().ToUtf8(resolutions[i].text) + "\n";
      }
    }
    std::cout << out;
    return loads ? 0 : 1;
  });
}

}  // namespace cli
