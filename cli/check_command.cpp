// tarvex-cli check: reads a project as "&Open..." does and reports, one finding a line, what would
// break it on another machine or in the development environment.
#include <iostream>
#include <optional>

#include "check/check_project.h"
#include "cli/commands.h"
#include "cli/command_session.h"
#include "cli/tree_json.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"

namespace cli {

namespace {

const char* const kCheckUsage = "Usage: tarvex-cli check [--json] [--strict] [--fix-line-ends] PROJECT.vbp\n";

// Paths as the user would type them: the project as given, its component files from the same folder.
class PathShower {
 public:
  PathShower(std::string argument, const mdlFile::ProjectModel& model, const platform::CodePage& codePage)
      : argument_(std::move(argument)),
        projectFile_(model.filePath),
        folder_(mdlTrim::TextBeforeLast(model.filePath, '\\') + "\\"),
        codePage_(codePage) {}

  std::string operator()(const std::string& file) const {
    if (file == projectFile_) return argument_;
    if (file.compare(0, folder_.size(), folder_) != 0) return codePage_.ToUtf8(file);
    const auto cut = argument_.find_last_of(kArgumentSeparators);
    const std::string folder = cut == std::string::npos ? std::string() : argument_.substr(0, cut + 1);
    return folder + HostSpelling(codePage_.ToUtf8(std::string_view(file).substr(folder_.size())));
  }

 private:
  std::string argument_;
  std::string projectFile_;
  std::string folder_;
  const platform::CodePage& codePage_;
};

std::string AsText(const std::vector<check::Finding>& findings, const PathShower& shown,
                   const platform::CodePage& codePage) {
  std::string out;
  for (const auto& finding : findings) {
    out += shown(finding.file) + ":" + std::to_string(finding.line) + ": " +
           std::string(check::SeverityName(finding.severity)) + ": " + codePage.ToUtf8(finding.text) + " [" +
           finding.code + "]\n";
  }
  return out;
}

std::string AsJson(const std::vector<check::Finding>& findings, const PathShower& shown,
                   const platform::CodePage& codePage) {
  std::string out = "[";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const auto& finding = findings[i];
    out += i == 0 ? "\n  {\"file\": " : ",\n  {\"file\": ";
    AppendJsonString(out, shown(finding.file));
    out += ", \"line\": " + std::to_string(finding.line) + ", \"severity\": ";
    AppendJsonString(out, std::string(check::SeverityName(finding.severity)));
    out += ", \"code\": ";
    AppendJsonString(out, finding.code);
    out += ", \"text\": ";
    AppendJsonString(out, codePage.ToUtf8(finding.text));
    out += "}";
  }
  out += findings.empty() ? "]\n" : "\n]\n";
  return out;
}

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
  bool json = false;
  bool strict = false;
  bool fix = false;
  std::vector<std::string> paths;
  for (const auto& arg : args) {
    if (arg == "--json") {
      json = true;
    } else if (arg == "--strict") {
      strict = true;
    } else if (arg == "--fix-line-ends") {
      fix = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kCheckUsage
                << "Reads the project as 'tree' does and prints one finding a line, PATH:LINE: severity: text\n"
                   "[code], or with --json an array of {file, line, severity, code, text}. Exit status 0 when\n"
                   "nothing but warnings is found (--strict: nothing at all), 1 when an error is found.\n"
                   "--fix-line-ends rewrites the text files whose line ends are not CR LF, then checks again;\n"
                   "without it nothing is written.\n";
      return 0;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      std::cerr << "tarvex-cli check: unknown option '" << arg << "'\n";
      return kExitUsage;
    } else {
      paths.push_back(arg);
    }
  }
  if (paths.size() != 1) {
    std::cerr << kCheckUsage;
    return kExitUsage;
  }
  return WithSession([&](CommandSession& session) {
    Host& host = session.host();
    const auto path = WindowsPathOf(paths[0], host.codePage());
    if (!path) {
      session.messages().Show("Error.", platform::MB_OK | platform::MB_ICONERROR, mdlFile::kAppTitle);
      return 1;
    }
    const auto run = [&]() -> std::optional<std::vector<check::Finding>> {
      check::ObservedFiles observed(host.files(), *path);
      if (!session.OpenProjectAt(*path, observed)) return std::nullopt;
      return check::CheckProject({mdlFile::Model(), observed, host.files(), host.folderNames()});
    };
    auto findings = run();
    if (!findings) return 1;
    if (fix) {
      const auto fixes = check::FixLineEnds(*findings, mdlFile::Model(), host.files(), host.packFiles());
      if (!fixes.empty()) {
        findings = run();
        if (!findings) return 1;
        findings->insert(findings->end(), fixes.begin(), fixes.end());
        check::SortFindings(*findings, mdlFile::Model());
      }
    }
    const PathShower shown(paths[0], mdlFile::Model(), host.codePage());
    std::cout << (json ? AsJson(*findings, shown, host.codePage()) : AsText(*findings, shown, host.codePage()));
    return check::Fails(*findings, strict) ? 1 : 0;
  });
}

}  // namespace cli
