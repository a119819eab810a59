// tarvex-cli pack: reads a project as "&Open..." does, then packs it as "Save &As..." does.
#include <iostream>

#include "cli/commands.h"
#include "cli/command_session.h"
#include "pack/mdl_file_pack.h"
#include "project/mdl_file.h"

namespace cli {

namespace {

const char* const kPackUsage = "Usage: tarvex-cli pack SOURCE.vbp TARGET.vbp\n";

}  // namespace

int RunPack(const std::vector<std::string>& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kPackUsage
              << "Reads SOURCE, writes TARGET with bare component file names and copies every component\n"
                 "file and its companions into TARGET's folder, which must exist. Each failed step is\n"
                 "named on standard error.\n";
    return 0;
  }
  if (args.size() != 2) {
    std::cerr << kPackUsage;
    return kExitUsage;
  }
  return WithSession([&args](CommandSession& session) {
    if (!session.OpenProject(args[0], CommandSession::Reasons::Said)) return 1;
    const platform::CodePage& codePage = session.codePage();
    const auto target = WindowsPathOf(args[1], codePage);
    if (!target) {
      std::cerr << "create " << args[1] << " failed: the name cannot be written in code page text\n";
      session.messages().Show("Error during save.", platform::MB_OK | platform::MB_ICONERROR, mdlFile::kAppTitle);
      return 1;
    }
    const mdlFile::PackContext context{
        session.host().packFiles(), session.pointer(), session.messages(),
        [&codePage](const mdlFile::PackFailure& failure) {
          std::cerr << codePage.ToUtf8(failure.attempted) << " failed: " << codePage.ToUtf8(failure.file) << ": "
                    << codePage.ToUtf8(failure.reason) << '\n';
        }};
    return mdlFile::PackProject(mdlFile::Model(), *target, context) ? 0 : 1;
  });
}

}  // namespace cli
