#include "group/member_references.h"

#include <unordered_map>

#include "group/read_group.h"
#include "project/line_file_paths.h"
#include "project/mdl_trim.h"

namespace mdlGroup {

std::vector<ProjectReference> ProjectReferences(const mdlFile::ProjectModel& model) {
  std::vector<ProjectReference> references;
  for (const auto& line : model.lines) {
    if (line.key != "reference" && line.key != "object") continue;
    // A compiled reference starts "*\G{" and names a registered library; "*\A" names a project file.
    if (line.value.size() < 4 || line.value.compare(0, 2, "*\\") != 0 ||
        (line.value[2] != 'A' && line.value[2] != 'a'))
      continue;
    references.push_back({line.number, line.key, line.value.substr(3)});
  }
  return references;
}

std::string ReferencedFilePath(const mdlFile::ProjectModel& model, const std::string& path) {
  return mdlFile::LineFilePath(model, path);
}

MemberReferences ResolveReferences(const GroupModel& group,
                                   const std::vector<const mdlFile::ProjectModel*>& models) {
  std::unordered_map<std::string, std::size_t> byKey;
  for (std::size_t i = 0; i < group.members.size(); ++i)
    byKey.try_emplace(FileKey(MemberFilePath(group, group.members[i])), i);
  MemberReferences resolved;
  resolved.targets.resize(group.members.size());
  for (std::size_t i = 0; i < group.members.size() && i < models.size(); ++i) {
    if (models[i] == nullptr) continue;
    for (auto& reference : ProjectReferences(*models[i])) {
      const auto found = byKey.find(FileKey(ReferencedFilePath(*models[i], reference.path)));
      if (found == byKey.end()) {
        resolved.targets[i].push_back(-1);
        resolved.outside.push_back({i, std::move(reference)});
      } else {
        resolved.targets[i].push_back(static_cast<long>(found->second));
        resolved.edges.push_back({i, found->second});
      }
    }
  }
  return resolved;
}

}  // namespace mdlGroup
