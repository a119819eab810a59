#include "cli/folder_maker.h"
#include "platform/win32/win32_folder_maker.h"

namespace cli {

std::unique_ptr<platform::FolderMaker> MakeFolderMaker(const platform::CodePage&) {
  return std::make_unique<win32::Win32FolderMaker>();
}

}  // namespace cli
