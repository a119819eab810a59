#include "cli/folder_maker.h"
#include "platform/posix/posix_folder_maker.h"

namespace cli {

std::unique_ptr<platform::FolderMaker> MakeFolderMaker(const platform::CodePage& codePage) {
  return std::make_unique<posix::PosixFolderMaker>(codePage);
}

}  // namespace cli
