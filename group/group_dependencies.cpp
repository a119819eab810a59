#include "group/group_dependencies.h"

#include "group/read_group.h"

namespace mdlGroup {

namespace {

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

}  // namespace

void ResolveWithinGroup(const MemberDependencies& group, std::size_t member,
                        const std::vector<deps::Dependency>& dependencies,
                        std::vector<deps::Resolution>& resolutions) {
  const mdlFile::ProjectModel& model = *group.models[member];
  for (std::size_t k = 0; k < dependencies.size() && k < resolutions.size(); ++k) {
    const auto& dependency = dependencies[k];
    auto& resolution = resolutions[k];
    if (dependency.kind == deps::Kind::ProjectReference) {
      const std::string key = FileKey(deps::FullPath(model, dependency.name));
      for (std::size_t i = 0; i < group.group.members.size() && i < group.models.size(); ++i) {
        const auto& target = group.group.members[i];
        if (group.models[i] == nullptr || FileKey(MemberFilePath(group.group, target)) != key) continue;
        resolution.status = deps::Status::Found;
        resolution.text = Quoted(dependency.name) + " is the group's member " + Quoted(target.path);
        break;
      }
      continue;
    }
    // What stops the project loading whatever provides the library stays.
    if (resolution.status == deps::Status::OcxAsReference ||
        resolution.status == deps::Status::ObjectNotInProject)
      continue;
    const auto* library = ProvidingLibrary(group.libraries, dependency, member);
    if (library == nullptr) continue;
    const auto& identity = library->identity;
    resolution.status = deps::Status::Member;
    const std::string asked = dependency.version ? " " + deps::VersionText(*dependency.version) : "";
    resolution.text = dependency.guid + asked + " is built by the group's member " +
                      Quoted(group.group.members[library->member].path) + " (its " + library->file.role +
                      " " + Quoted(library->file.written) + " holds " + identity.guid + " " +
                      deps::VersionText({identity.major, identity.minor}) +
                      "): it loads once that member is built";
    resolution.found = library->shown;
  }
}

}  // namespace mdlGroup
