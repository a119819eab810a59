// Reading a group file as a project file is read: lines end at CR, CR LF or LF, keys are matched without
// regard to ASCII case, text stays in the code page.
#pragma once

#include <string>
#include <string_view>

#include "group/group_model.h"
#include "platform/text_files.h"

namespace mdlGroup {

// Reads the group file at path (a Windows path). What makes it no group (empty, binary, no "VBGROUP"
// first line), a member that is the group file itself and a member named twice are problems of the model;
// those members are left out. Throws platform::FileError when the file cannot be read.
GroupModel ReadGroup(const std::string& path, platform::TextFiles& files);

// A member's project file: the group file's folder, "\" and the path as written.
std::string MemberFilePath(const GroupModel& group, const GroupMember& member);

// One spelling for each file a full Windows path can name: "/" as "\", ASCII lower case, "." and ".."
// resolved, empty names dropped. Two paths to one file through links are not told apart.
std::string FileKey(std::string_view fullPath);

// Whether the file key lies inside the folder key (not the folder itself).
bool KeyIsUnder(const std::string& fileKey, const std::string& folderKey);

// The bare name of a path without its extension: "..\App\App.vbp" gives "App".
std::string StemOf(std::string_view path);

}  // namespace mdlGroup
