#include "platform/posix/folder_listing.h"

#include <dirent.h>

#include <memory>

namespace posix {

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

std::optional<std::vector<std::string>> HostNamesIn(const std::string& hostFolder) {
  const std::unique_ptr<DIR, DirCloser> dir(::opendir(hostFolder.c_str()));
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  return names;
}

}  // namespace posix
