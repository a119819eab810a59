// Packing a whole group into one folder that opens elsewhere as the source did: each member packed as a
// project is into a folder of its own, the source files several members share copied once into Shared\,
// the project references and the group file naming the new places.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "group/group_model.h"
#include "pack/mdl_file_pack.h"
#include "platform/folder_maker.h"

namespace mdlGroup {

struct GroupPackContext {
  platform::PackFiles& files;
  platform::FolderMaker& folders;
  platform::MousePointer& pointer;
  platform::MessageBox& messages;
  std::function<void(const mdlFile::PackFailure&)> onFailure = {};
  bool complete = false;     // also the resource files and related documents, as `pack --complete` does
  unsigned copyThreads = 0;  // as a project pack's
};

// Why a group cannot be packed, found before anything is written; line 0 is the group as a whole.
struct Refusal {
  std::string file;  // the group file, or the member project file the reason is in
  int64_t line = 0;
  std::string code;
  std::string text;
};

// What a group pack would refuse: members with one project file name, two different files packed to one
// name, a member under the target folder, a target group file that is a source or a member. members[i] is
// the model of group.members[i].
std::vector<Refusal> GroupPackRefusals(const GroupModel& group,
                                       const std::vector<mdlFile::ProjectModel>& members,
                                       const std::string& target, platform::PackFiles& files, bool complete);

// Packs the group into target (the new group file, a Windows path; its folder must exist) and shows
// "Project saved." or "Error during save." once. With refusals nothing is written: they are told through
// onRefusal, and the save fails. Returns whether it succeeded.
bool PackGroup(const GroupModel& group, const std::vector<mdlFile::ProjectModel>& members,
               const std::string& target, const GroupPackContext& context,
               const std::function<void(const Refusal&)>& onRefusal);

}  // namespace mdlGroup
