// Listing a folder with FindFirstFileA: the names as the file system spells them.
#pragma once

#include "platform/folder_names.h"

namespace win32 {

class Win32FolderNames : public platform::FolderNames {
 public:
  std::optional<std::vector<std::string>> NamesIn(const std::string& folder) override;
};

}  // namespace win32
