#include "platform/posix/folder_listing.h"

#include <dirent.h>

#include <cerrno>
#include <memory>

namespace posix {

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

enum class Reading { kUnopened, kBrokenOff, kWhole };

// Calls add(name, type) for every name in the folder but "." and "..".
template <typename Add>
Reading EachName(const std::string& hostFolder, Add add) {
  const std::unique_ptr<DIR, DirCloser> dir(::opendir(hostFolder.c_str()));
  if (!dir) return Reading::kUnopened;
  errno = 0;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") add(std::string(name), entry->d_type);
    errno = 0;
  }
  return errno == 0 ? Reading::kWhole : Reading::kBrokenOff;
}

}  // namespace

std::optional<std::vector<std::string>> HostNamesIn(const std::string& hostFolder) {
  std::vector<std::string> names;
  const Reading reading =
      EachName(hostFolder, [&](std::string name, unsigned char) { names.push_back(std::move(name)); });
  if (reading == Reading::kUnopened) return std::nullopt;
  return names;
}

FolderListing FolderListing::Read(const std::string& hostFolder, const platform::CodePage& codePage) {
  FolderListing listing(codePage);
  // A listing that broke off part-way would call files missing that are not: it counts as unread.
  listing.complete_ = EachName(hostFolder, [&](const std::string& name, unsigned char type) {
                        listing.Add(name, type);
                      }) == Reading::kWhole;
  return listing;
}

void FolderListing::Add(const std::string& host, unsigned char type) {
  types_[host] = type;
  if (const auto asCodePage = codePage_->FromUtf8(host)) folded_.Add(*asCodePage, host);
}

std::optional<unsigned char> FolderListing::TypeOf(const std::string& host) const {
  const auto found = types_.find(host);
  if (found == types_.end()) return std::nullopt;
  return found->second;
}

}  // namespace posix
