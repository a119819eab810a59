// The host's folder maker for the group pack.
#pragma once

#include <memory>

#include "platform/code_page.h"
#include "platform/folder_maker.h"

namespace cli {

// Lives in folder_maker_posix.cpp and folder_maker_win32.cpp.
std::unique_ptr<platform::FolderMaker> MakeFolderMaker(const platform::CodePage& codePage);

}  // namespace cli
