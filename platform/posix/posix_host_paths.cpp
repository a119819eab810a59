#include "platform/posix/posix_host_paths.h"

#include "platform/posix/host_paths.h"

namespace posix {

std::string PosixHostPaths::HostFromWindows(const std::string& windowsPath, bool allowMissingLeaf) const {
  return posix::HostFromWindows(windowsPath, codePage_, allowMissingLeaf);
}

std::optional<std::string> PosixHostPaths::WindowsFromHost(const std::string& hostPath) const {
  return posix::WindowsFromHost(hostPath, codePage_);
}

}  // namespace posix
