// The names a folder holds as the disk spells them, to tell a name that matches only without regard
// to case from one that matches exactly.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

class FolderNames {
 public:
  virtual ~FolderNames() = default;
  // The names of the entries directly in the folder (a Windows path), in the code page, without "."
  // and ".."; a name the code page cannot spell is left out. Empty when the folder cannot be listed.
  virtual std::optional<std::vector<std::string>> NamesIn(const std::string& folder) = 0;
};

}  // namespace platform
