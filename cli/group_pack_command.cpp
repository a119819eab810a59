// tarvex-cli pack SOURCE.vbg TARGET.vbg: reads the group and every member, then packs them into one folder.
#include <iostream>

#include "cli/commands.h"
#include "cli/findings_output.h"
#include "cli/folder_maker.h"
#include "cli/group_session.h"
#include "group/pack_group.h"
#include "group/read_group.h"
#include "project/mdl_file.h"

namespace cli {

int RunGroupPack(const std::string& source, const std::string& targetArgument, bool complete) {
  return WithSession([&](CommandSession& session) {
    const auto failed = [&session] {
      session.messages().Show("Error during save.", platform::MB_OK | platform::MB_ICONERROR,
                              mdlFile::kAppTitle);
      return 1;
    };
    const auto group = OpenGroup(session, source);
    if (!group) return failed();
    std::vector<mdlFile::ProjectModel> models;
    bool unread = false;
    for (const auto& member : group->members) {
      MemoryTreeView tree;
      MemberRead read =
          ReadMember(session, mdlGroup::MemberFilePath(*group, member), session.host().files(), tree);
      if (!read.model) {
        unread = true;
        PrintError(session, source, member.line, "member-unreadable",
                   "cannot read '" + member.path + "': " + (read.failure.empty() ? "Error." : read.failure));
        continue;
      }
      models.push_back(std::move(*read.model));
    }
    if (unread) return failed();
    const platform::CodePage& codePage = session.codePage();
    const auto target = WindowsPathOf(targetArgument, codePage);
    if (!target) {
      std::cerr << "create " << targetArgument << " failed: the name cannot be written in code page text\n";
      return failed();
    }
    const auto folders = MakeFolderMaker(codePage);
    const mdlGroup::GroupPackContext context{session.host().packFiles(),
                                             *folders,
                                             session.pointer(),
                                             session.messages(),
                                             [&codePage](const mdlFile::PackFailure& failure) {
                                               std::cerr << codePage.ToUtf8(failure.attempted)
                                                         << " failed: " << codePage.ToUtf8(failure.file)
                                                         << ": " << codePage.ToUtf8(failure.reason) << '\n';
                                             },
                                             complete,
                                             kPackCopyThreads};
    const PathShower shown(source, group->filePath, codePage);
    const auto refused = [&](const mdlGroup::Refusal& refusal) {
      PrintError(session, shown(refusal.file), refusal.line, refusal.code, refusal.text);
    };
    return mdlGroup::PackGroup(*group, models, *target, context, refused) ? 0 : 1;
  });
}

}  // namespace cli
