// tarvex-cli check: reads a project as "&Open..." does and reports, one finding a line, what would
// break it on another machine or in the development environment.
#include <iostream>
#include <optional>

#include "check/check_project.h"
#include "check/not_packed.h"
#include "cli/command_options.h"
#include "cli/command_session.h"
#include "cli/commands.h"
#include "cli/findings_output.h"
#include "cli/group_session.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"

namespace cli {

namespace {

const char* const kCheckUsage =
    "Usage: tarvex-cli check [--json] [--strict] [--fix-line-ends] PROJECT.vbp\n"
    "       tarvex-cli check [--json] [--strict] GROUP.vbg\n";

}  // namespace

int RunCheck(const std::vector<std::string>& args) {
  const CommandOptions options = ReadCommandOptions(
      args, "check", {"--json", "--strict", "--fix-line-ends"},
      std::string(kCheckUsage) +
          "Reads the project as 'tree' does and prints one finding a line, PATH:LINE: severity: text\n"
          "[code], or with --json an array of {file, line, severity, code, text}. Exit status 0 when\n"
          "nothing but warnings is found (--strict: nothing at all), 1 when an error is found.\n"
          "--fix-line-ends rewrites the text files whose line ends are not CR LF, then checks again;\n"
          "without it nothing is written.\n"
          "For a group, every member is checked and the findings come in one list: the group file's\n"
          "own (members missing, the startup project, duplicate project files and names, references\n"
          "to projects outside the group, reference cycles) first, then each member's in group order.\n");
  if (options.exit) return *options.exit;
  const bool json = options.Has("--json");
  const bool strict = options.Has("--strict");
  const bool fix = options.Has("--fix-line-ends");
  const std::vector<std::string>& paths = options.operands;
  if (paths.size() != 1) {
    std::cerr << kCheckUsage;
    return kExitUsage;
  }
  if (IsGroupArgument(paths[0])) {
    if (!fix) return RunGroupCheck(paths[0], json, strict);
    std::cerr << "tarvex-cli check: --fix-line-ends takes a project file; run it on each member\n";
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
      auto found = check::CheckProject({mdlFile::Model(), observed, host.files(), host.folderNames()});
      auto notPacked = check::NotPackedFindings(mdlFile::Model(), host.files());
      if (notPacked.empty()) return found;
      found.insert(found.end(), notPacked.begin(), notPacked.end());
      check::SortFindings(found, mdlFile::Model());
      return found;
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
    const PathShower shown(paths[0], mdlFile::Model().filePath, host.codePage());
    std::cout << (json ? FindingsJson(*findings, shown, host.codePage())
                       : FindingsText(*findings, shown, host.codePage()));
    return check::Fails(*findings, strict) ? 1 : 0;
  });
}

}  // namespace cli
