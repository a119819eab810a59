#include "tests/fakes/fake_folder_names.h"

#include <algorithm>

#include "project/mdl_trim.h"

namespace fakes {

void FakeFolderNames::AddFile(const std::string& path) {
  std::string rest = path;
  for (auto cut = rest.rfind('\\'); cut != std::string::npos; cut = rest.rfind('\\')) {
    auto& names = names_[mdlTrim::LowerAscii(rest.substr(0, cut))];
    const std::string name = rest.substr(cut + 1);
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    rest.erase(cut);
  }
}

std::optional<std::vector<std::string>> FakeFolderNames::NamesIn(const std::string& folder) {
  const auto found = names_.find(mdlTrim::LowerAscii(folder));
  if (found == names_.end()) return std::nullopt;
  return found->second;
}

}  // namespace fakes
