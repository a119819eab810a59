// tarvex-cli check GROUP.vbg: the group file's own findings, then each member's in group order, one list.
#include <iostream>

#include "check/check_project.h"
#include "check/not_packed.h"
#include "check/observed_files.h"
#include "cli/commands.h"
#include "cli/findings_output.h"
#include "cli/group_session.h"
#include "group/check_group.h"
#include "group/read_group.h"

namespace cli {

int RunGroupCheck(const std::string& argument, bool json, bool strict) {
  return WithSession([&](CommandSession& session) {
    const auto group = OpenGroup(session, argument, true);
    if (!group) return 1;
    Host& host = session.host();
    const std::size_t count = group->members.size();
    std::vector<std::optional<mdlFile::ProjectModel>> models(count);
    std::vector<std::vector<check::Finding>> memberFindings(count);
    std::vector<std::string> failures(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::string path = mdlGroup::MemberFilePath(*group, group->members[i]);
      check::ObservedFiles observed(host.files(), path);
      MemoryTreeView tree;
      MemberRead read = ReadMember(session, path, observed, tree);
      if (!read.model) {
        failures[i] = read.failure.empty() ? "Error." : read.failure;
        continue;
      }
      models[i] = std::move(read.model);
      auto& found = memberFindings[i];
      found = check::CheckProject({*models[i], observed, host.files(), host.folderNames()});
      const auto notPacked = check::NotPackedFindings(*models[i], host.files());
      found.insert(found.end(), notPacked.begin(), notPacked.end());
      mdlGroup::KeepInsideGroup(*group, *models[i], found);
    }
    std::vector<mdlGroup::CheckedMember> checked;
    for (std::size_t i = 0; i < count; ++i)
      checked.push_back({models[i] ? &*models[i] : nullptr, failures[i]});
    // The group file's findings first; those in a member's files go with that member's.
    std::vector<check::Finding> findings;
    std::vector<const mdlFile::ProjectModel*> read;
    for (const auto& model : models) read.push_back(model ? &*model : nullptr);
    for (auto& finding : mdlGroup::CheckGroup(*group, checked, LibraryEdges(session, read))) {
      std::size_t owner = count;
      for (std::size_t i = 0; i < count && owner == count; ++i)
        if (models[i] && finding.file == models[i]->filePath) owner = i;
      (owner == count ? findings : memberFindings[owner]).push_back(std::move(finding));
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (!models[i]) continue;
      check::SortFindings(memberFindings[i], *models[i]);
      findings.insert(findings.end(), memberFindings[i].begin(), memberFindings[i].end());
    }
    const PathShower shown(argument, group->filePath, host.codePage());
    std::cout << (json ? FindingsJson(findings, shown, host.codePage())
                       : FindingsText(findings, shown, host.codePage()));
    return check::Fails(findings, strict) ? 1 : 0;
  });
}

}  // namespace cli
