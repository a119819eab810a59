// A fresh folder under the user's temporary folder, removed with everything in it at the end of a test.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>
#include <vector>

namespace tests {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder ending in "\".
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// Names of the files in a folder, sorted.
std::vector<std::string> NamesIn(const std::string& folder);

}  // namespace tests
