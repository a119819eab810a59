// The mapping between the Windows paths the program speaks and the host's own paths, for front ends
// whose file dialogs show the host's file system.
#pragma once

#include <optional>
#include <string>

namespace platform {

class HostPaths {
 public:
  virtual ~HostPaths() = default;
  // The host path (UTF-8) a Windows path names. With allowMissingLeaf, a last name that matches
  // nothing is kept as written, so the path names a file to be created. Throws platform::FileError
  // when the path is rejected or a name cannot be found.
  virtual std::string HostFromWindows(const std::string& windowsPath,
                                      bool allowMissingLeaf = false) const = 0;
  // The Windows path of an absolute host path; empty when a name cannot be written in the code page.
  virtual std::optional<std::string> WindowsFromHost(const std::string& hostPath) const = 0;
};

}  // namespace platform
