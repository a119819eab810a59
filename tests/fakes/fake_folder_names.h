// Folder listings made of the files put into them; folders nobody put a file into cannot be listed.
#pragma once

#include <map>
#include <string>

#include "platform/folder_names.h"

namespace fakes {

class FakeFolderNames : public platform::FolderNames {
 public:
  // Adds the file's name to its folder, and each folder's name to the one above, as spelled here.
  void AddFile(const std::string& path);
  std::optional<std::vector<std::string>> NamesIn(const std::string& folder) override;

 private:
  std::map<std::string, std::vector<std::string>> names_;  // by the folder, lower-cased
};

}  // namespace fakes
