// The POSIX stand-ins for the shell's programs folders (XDG data folders), the registry and the program file.
#pragma once

#include <string>

#include "platform/code_page.h"
#include "platform/shell_folders.h"

namespace posix {

// The current user's programs folder is $XDG_DATA_HOME/applications (default ~/.local/share/applications),
// the all-users one "applications" in the first folder of $XDG_DATA_DIRS (default /usr/local/share).
// A folder that does not exist is not given.
class XdgShellFolders : public platform::ShellFolders {
 public:
  explicit XdgShellFolders(const platform::CodePage& codePage) : codePage_(codePage) {}
  std::optional<int32_t> GetFolderPath(int32_t folder, uint32_t flags, platform::PathBuffer& buffer) override;

 private:
  const platform::CodePage& codePage_;
};

// The host folder GetFolderPath looks at for a folder id, from the environment; empty when there is none.
std::string XdgProgramsFolder(int32_t folder);

// There is no registry here: no key opens.
class NoRegistry : public platform::Registry {
 public:
  std::unique_ptr<platform::RegistryKey> OpenKey(uint32_t root, const std::string& subKey, uint32_t access,
                                                 int32_t& status) override;
};

// The running program, from /proc/self/exe.
class RunningProgramFile : public platform::ProgramFile {
 public:
  explicit RunningProgramFile(const platform::CodePage& codePage);
  std::string Folder() const override { return folder_; }
  std::string BaseName() const override { return baseName_; }

 private:
  std::string folder_;
  std::string baseName_;
};

}  // namespace posix
