// tarvex-cli deps GROUP.vbg: each member's dependencies in group order, one list, with what the group
// itself provides: its members, and the libraries and controls they build.
#include <iostream>

#include "cli/commands.h"
#include "cli/deps_output.h"
#include "cli/deps_platform.h"
#include "cli/group_session.h"
#include "group/group_dependencies.h"
#include "group/member_libraries.h"

namespace cli {

int RunGroupDeps(const std::string& argument, bool json, const std::optional<std::string>& winePrefix) {
  return WithSession([&](CommandSession& session) {
    const auto group = OpenGroup(session, argument);
    if (!group) return 1;
    Host& host = session.host();
    const MembersRead read = ReadMembers(session, *group, argument);
    const auto models = read.Pointers();
    auto platform = MakeDepsPlatform(winePrefix, host.codePage());
    const auto libraries = mdlGroup::ReadMemberLibraries(models, *platform.files);
    const mdlGroup::MemberDependencies within{*group, models, libraries};
    std::vector<deps::Dependency> dependencies;
    std::vector<deps::Resolution> resolutions;
    for (std::size_t i = 0; i < models.size(); ++i) {
      if (models[i] == nullptr) continue;
      auto memberDependencies = deps::ReadDependencies(*models[i], host.files());
      auto memberResolutions = deps::Resolve(
          memberDependencies, {*models[i], platform.registry.get(), platform.noRegistry, *platform.files});
      mdlGroup::ResolveWithinGroup(within, i, memberDependencies, memberResolutions);
      std::move(memberDependencies.begin(), memberDependencies.end(), std::back_inserter(dependencies));
      std::move(memberResolutions.begin(), memberResolutions.end(), std::back_inserter(resolutions));
    }
    const PathShower shown(argument, group->filePath, host.codePage());
    if (json) {
      WriteDepsJson(std::cout, dependencies, resolutions, shown, host.codePage());
    } else {
      WriteDepsText(std::cout, dependencies, resolutions, shown, host.codePage());
    }
    return !read.failed && AllLoad(resolutions) ? 0 : 1;
  });
}

}  // namespace cli
