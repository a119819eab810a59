#include "platform/posix/posix_folder_names.h"

#include <dirent.h>

#include <memory>

#include "platform/errors.h"
#include "platform/posix/host_paths.h"

namespace posix {

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

std::optional<std::vector<std::string>> PosixFolderNames::NamesIn(const std::string& folder) {
  std::string host;
  try {
    host = HostFromWindows(folder, codePage_);
  } catch (const platform::FileError&) {
    return std::nullopt;
  }
  const std::unique_ptr<DIR, DirCloser> dir(::opendir(host.c_str()));
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (auto inCodePage = codePage_.FromUtf8(name)) names.push_back(std::move(*inCodePage));
  }
  return names;
}

}  // namespace posix
