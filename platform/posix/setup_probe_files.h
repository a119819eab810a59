// Probe files on a POSIX host, named by Windows paths through the Z: drive mapping.
#pragma once

#include "platform/code_page.h"
#include "platform/probe_files.h"

namespace posix {

class PosixProbeFiles : public platform::ProbeFiles {
 public:
  explicit PosixProbeFiles(const platform::CodePage& codePage) : codePage_(codePage) {}
  platform::CreatedProbe CreateExclusive(const std::string& path) override;
  bool Delete(const std::string& path) override;

 private:
  const platform::CodePage& codePage_;
};

}  // namespace posix
