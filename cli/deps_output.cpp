#include "cli/deps_output.h"

#include <algorithm>
#include <optional>

#include "cli/tree_json.h"

namespace cli {

namespace {

void AppendOptional(std::string& out, const std::optional<std::string>& text) {
  if (text) {
    AppendJsonString(out, *text);
  } else {
    out += "null";
  }
}

}  // namespace

void WriteDepsText(std::ostream& out, const std::vector<deps::Dependency>& dependencies,
                   const std::vector<deps::Resolution>& resolutions, const PathShower& shown,
                   const platform::CodePage& codePage) {
  for (std::size_t i = 0; i < dependencies.size(); ++i) {
    out << shown(dependencies[i].file) << ':' << dependencies[i].line << ": "
        << deps::StatusName(resolutions[i].status) << ": " << codePage.ToUtf8(resolutions[i].text) << '\n';
  }
}

void WriteDepsJson(std::ostream& stream, const std::vector<deps::Dependency>& dependencies,
                   const std::vector<deps::Resolution>& resolutions, const PathShower& shown,
                   const platform::CodePage& codePage) {
  stream << '[';
  std::string out;
  for (std::size_t i = 0; i < dependencies.size(); ++i) {
    const auto& dependency = dependencies[i];
    const auto& resolution = resolutions[i];
    out = i == 0 ? "\n  {\"file\": " : ",\n  {\"file\": ";
    AppendJsonString(out, shown(dependency.file));
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
    stream << out;
  }
  stream << (dependencies.empty() ? "]\n" : "\n]\n");
}

bool AllLoad(const std::vector<deps::Resolution>& resolutions) {
  return std::all_of(resolutions.begin(), resolutions.end(),
                     [](const deps::Resolution& resolution) { return deps::Loads(resolution.status); });
}

}  // namespace cli
