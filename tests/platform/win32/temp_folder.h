// A fresh folder under the user's temporary folder, removed with everything in it at the end of a test,
// and the file operations the tests check results with.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tests {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() { fs::create_directory(path_); }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder ending in "\".
  std::string Path() const { return path_.string() + "\\"; }
  std::string operator/(const std::string& name) const { return Path() + name; }

 private:
  fs::path path_ = fs::temp_directory_path() / ("tvt" + std::to_string(std::random_device()()));
};

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFileBytes(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// Names of the files in a folder, sorted.
inline std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tests
