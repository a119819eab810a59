// tarvex-cli pack: reads a project as "&Open..." does, then packs it as "Save &As..." does.
#include <iostream>

#include "cli/command_session.h"
#include "cli/commands.h"
#include "cli/group_session.h"
#include "pack/complete_files.h"
#include "pack/mdl_file_pack.h"
#include "project/mdl_file.h"

namespace cli {

namespace {

const char* const kPackUsage =
    "Usage: tarvex-cli pack [--complete] SOURCE.vbp TARGET.vbp\n"
    "       tarvex-cli pack [--complete] SOURCE.vbg TARGET.vbg\n";

}  // namespace

int RunPack(const std::vector<std::string>& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kPackUsage
              << "Reads SOURCE, writes TARGET with bare component file names and copies every component\n"
                 "file and its companions into TARGET's folder, which must exist. Each failed step is\n"
                 "named on standard error.\n"
                 "A group is packed member by member, each into a folder of its own named after its project\n"
                 "file (App\\App.vbp), the files several members share once into Shared\\, and TARGET.vbg\n"
                 "names the new places; what would be refused is reported before anything is written.\n"
                 "--complete also copies the resource file and the related documents that exist beside each\n"
                 "project file and rewrites their lines to name them there.\n";
    return 0;
  }
  std::vector<std::string> operands;
  for (const auto& arg : args)
    if (arg != "--complete") operands.push_back(arg);
  const bool complete = operands.size() != args.size();
  if (operands.size() != 2) {
    std::cerr << kPackUsage;
    return kExitUsage;
  }
  if (IsGroupArgument(operands[0])) return RunGroupPack(operands[0], operands[1], complete);
  return WithSession([&args = operands, complete](CommandSession& session) {
    if (!session.OpenProject(args[0], CommandSession::Reasons::Said)) return 1;
    const platform::CodePage& codePage = session.codePage();
    const auto target = WindowsPathOf(args[1], codePage);
    if (!target) {
      std::cerr << "create " << args[1] << " failed: the name cannot be written in code page text\n";
      session.messages().Show("Error during save.", platform::MB_OK | platform::MB_ICONERROR,
                              mdlFile::kAppTitle);
      return 1;
    }
    mdlFile::PackContext context{session.host().packFiles(), session.pointer(), session.messages(),
                                 [&codePage](const mdlFile::PackFailure& failure) {
                                   std::cerr << codePage.ToUtf8(failure.attempted)
                                             << " failed: " << codePage.ToUtf8(failure.file) << ": "
                                             << codePage.ToUtf8(failure.reason) << '\n';
                                 }};
    context.copyThreads = kPackCopyThreads;
    if (complete) {
      auto files = mdlFile::FindCompleteFiles(mdlFile::Model(), session.host().packFiles());
      context.extraCopies = std::move(files.copies);
      context.newValues = std::move(files.newValues);
    }
    return mdlFile::PackProject(mdlFile::Model(), *target, context) ? 0 : 1;
  });
}

}  // namespace cli
