// Folders on POSIX named by Windows paths on the Z: drive.
#pragma once

#include "platform/code_page.h"
#include "platform/folder_maker.h"

namespace posix {

class PosixFolderMaker : public platform::FolderMaker {
 public:
  explicit PosixFolderMaker(const platform::CodePage& codePage) : codePage_(codePage) {}
  void MakeFolder(const std::string& path) override;

 private:
  const platform::CodePage& codePage_;
};

}  // namespace posix
