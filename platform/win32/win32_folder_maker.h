// Folders on the Windows file system.
#pragma once

#include "platform/folder_maker.h"

namespace win32 {

class Win32FolderMaker : public platform::FolderMaker {
 public:
  void MakeFolder(const std::string& path) override;
};

}  // namespace win32
