// Folder listings made of the files put into them; folders nobody put a file into cannot be listed.
#pragma once

#include <algorithm>
#include <map>
#include <string>

#include "platform/folder_names.h"
#include "project/mdl_trim.h"

namespace fakes {

class FakeFolderNames : public platform::FolderNames {
 public:
  // Adds the file's name to its folder, and each folder's name to the one above, as spelled here.
  void AddFile(std::string path) {
    for (auto cut = path.rfind('\\'); cut != std::string::npos; path.erase(cut), cut = path.rfind('\\')) {
      auto& names = names_[mdlTrim::LowerAscii(path.substr(0, cut))];
      if (std::find(names.begin(), names.end(), path.substr(cut + 1)) == names.end())
        names.push_back(path.substr(cut + 1));
    }
  }
  std::optional<std::vector<std::string>> NamesIn(const std::string& folder) override {
    const auto found = names_.find(mdlTrim::LowerAscii(folder));
    return found == names_.end() ? std::nullopt : std::optional(found->second);
  }

 private:
  std::map<std::string, std::vector<std::string>> names_;  // by the folder, lower-cased
};

}  // namespace fakes
