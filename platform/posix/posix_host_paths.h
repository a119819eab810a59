// The host paths of a POSIX host, drive Z: at its root, for the front ends that are handed them.
#pragma once

#include "platform/code_page.h"
#include "platform/host_paths.h"

namespace posix {

class PosixHostPaths : public platform::HostPaths {
 public:
  // The code page must outlive this.
  explicit PosixHostPaths(const platform::CodePage& codePage) : codePage_(codePage) {}

  std::string HostFromWindows(const std::string& windowsPath, bool allowMissingLeaf = false) const override;
  std::optional<std::string> WindowsFromHost(const std::string& hostPath) const override;

 private:
  const platform::CodePage& codePage_;
};

}  // namespace posix
