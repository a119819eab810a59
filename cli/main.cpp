// tarvex-cli: the project reader, packer and checker from the command line.
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "tarvex_version_line.h"

namespace {

const char* const kUsage =
    "Usage:\n"
    "  tarvex-cli tree [--json] PROJECT.vbp   print the project's tree\n"
    "  tarvex-cli pack SOURCE.vbp TARGET.vbp  pack a project: write TARGET with bare component names\n"
    "                                         and copy every component file beside it\n"
    "  tarvex-cli check [--json] [--strict] [--fix-line-ends] PROJECT.vbp\n"
    "                                         report what breaks the project elsewhere: unreadable\n"
    "                                         files, line ends, name case, missing companions,\n"
    "                                         duplicate names, paths outside the project's folder\n"
    "  tarvex-cli deps [--json] [--wine-prefix DIR] PROJECT.vbp\n"
    "                                         list the type libraries, controls and files the project\n"
    "                                         needs, and whether this machine has them\n"
    "  tarvex-cli tree [--json] GROUP.vbg     print each member's tree in group order\n"
    "  tarvex-cli check [--json] [--strict] GROUP.vbg\n"
    "                                         check every member and the group itself\n"
    "  tarvex-cli deps [--json] [--wine-prefix DIR] GROUP.vbg\n"
    "                                         the same for every member; what a member builds counts\n"
    "                                         as found\n"
    "  tarvex-cli order [--json] GROUP.vbg    print the members in build order\n"
    "  tarvex-cli pack [--complete] SOURCE.vbg TARGET.vbg\n"
    "                                         pack a group: each member in a folder of its own\n"
    "  tarvex-cli pack --complete SOURCE.vbp TARGET.vbp\n"
    "                                         also copy the resource file and related documents\n"
    "  tarvex-cli COMMAND --help              show the command's usage\n"
    "  tarvex-cli --help                      show this text\n"
    "  tarvex-cli --version                   show the version\n"
    "\n"
    "Paths are host paths; the project sees them as Windows paths on drive Z:.\n"
    "Text in project files is read in Windows-1252 unless TARVEX_CODEPAGE names another\n"
    "Windows code page (932, 936, 949, 950, 874, 1250 to 1258).\n"
    "Exit status: 0 success, 1 the read or the pack failed or check found an error or deps a\n"
    "dependency that does not load, 2 usage error.\n";

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage;
    return cli::kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (args[0] == "--version") {
    std::cout << TARVEX_VERSION_LINE << '\n';
    return 0;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "tree") return cli::RunTree(rest);
  if (args[0] == "pack") return cli::RunPack(rest);
  if (args[0] == "check") return cli::RunCheck(rest);
  if (args[0] == "deps") return cli::RunDeps(rest);
  if (args[0] == "order") return cli::RunOrder(rest);
  std::cerr << "tarvex-cli: unknown command '" << args[0] << "'\n" << kUsage;
  return cli::kExitUsage;
}
