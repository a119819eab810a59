// The running program's path and folder, the Start-menu programs folders, and the writability probe.
// None of these fails: an unavailable folder is the empty string, an unwritable one makes the probe 0.
#pragma once

#include <cstdint>
#include <string>

#include "base/windows_path.h"
#include "platform/probe_files.h"
#include "platform/random_source.h"
#include "platform/shell_folders.h"

namespace mdlPath {

// The program's folder, "\" unless it ends in one, its base name and ".exe", whatever it is really called.
std::string AppExePath(const platform::ProgramFile& program);
// The program's folder ending in "\".
std::string AppFolder(const platform::ProgramFile& program);
// The all-users programs folder ending in "\", or empty when the shell does not give it.
std::string CommonProgramsFolder(platform::ShellFolders& shell);
// The current user's programs folder ending in "\", from the shell or else the registry; or empty.
std::string UserProgramsFolder(platform::ShellFolders& shell, platform::Registry& registry);
// The folder with "\" appended unless it already ends in one; "" gives "\".
std::string AddTrailingBackslash(const std::string& folder);
// -1 when a new file could be created, closed and deleted in the folder, 0 otherwise (at once for "").
int16_t IsFolderWritable(const std::string& folder, platform::ProbeFiles& files,
                         platform::RandomSource& random);

// Splits the Windows path of a program file into its folder and its base name, as AppExePath joins them.
using base::SplitProgramPath;

// A probe file name: eight capital letters A to Z and ".tmp".
std::string ProbeName(platform::RandomSource& random);

}  // namespace mdlPath
