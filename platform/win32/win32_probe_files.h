// Probe files on the Windows file system, for the writability test of a folder.
#pragma once

#include "platform/probe_files.h"

namespace win32 {

class Win32ProbeFiles : public platform::ProbeFiles {
 public:
  platform::CreatedProbe CreateExclusive(const std::string& path) override;
  bool Delete(const std::string& path) override;
};

}  // namespace win32
