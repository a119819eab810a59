// Listing a folder on POSIX: the folder found through the Z: mapping, its names turned into the code page.
#pragma once

#include "platform/code_page.h"
#include "platform/folder_names.h"

namespace posix {

class PosixFolderNames : public platform::FolderNames {
 public:
  explicit PosixFolderNames(const platform::CodePage& codePage) : codePage_(codePage) {}
  std::optional<std::vector<std::string>> NamesIn(const std::string& folder) override;

 private:
  const platform::CodePage& codePage_;
};

}  // namespace posix
