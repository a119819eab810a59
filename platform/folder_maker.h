// Making the folders a group pack writes into.
#pragma once

#include <string>

namespace platform {

class FolderMaker {
 public:
  virtual ~FolderMaker() = default;
  // Makes the folder (a Windows path) in its existing parent folder; a folder already there is kept as it
  // is. Throws FileError when the parent is missing, the name is taken by a file, or it cannot be made.
  virtual void MakeFolder(const std::string& path) = 0;
};

}  // namespace platform
