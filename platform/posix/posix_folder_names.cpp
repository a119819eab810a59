#include "platform/posix/posix_folder_names.h"

#include "platform/errors.h"
#include "platform/posix/folder_listing.h"
#include "platform/posix/host_paths.h"

namespace posix {

std::optional<std::vector<std::string>> PosixFolderNames::NamesIn(const std::string& folder) {
  std::string host;
  try {
    host = HostFromWindows(folder, codePage_);
  } catch (const platform::FileError&) {
    return std::nullopt;
  }
  const auto hostNames = HostNamesIn(host);
  if (!hostNames) return std::nullopt;
  std::vector<std::string> names;
  for (const std::string& name : *hostNames) {
    if (auto inCodePage = codePage_.FromUtf8(name)) names.push_back(std::move(*inCodePage));
  }
  return names;
}

}  // namespace posix
