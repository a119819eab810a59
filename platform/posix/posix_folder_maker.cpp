#include "platform/posix/posix_folder_maker.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/errors.h"
#include "platform/posix/host_paths.h"

namespace posix {

void PosixFolderMaker::MakeFolder(const std::string& path) {
  // A name that matches an existing folder without regard to case is that folder, as on Windows.
  const std::string host = HostFromWindows(path, codePage_, true);
  if (::mkdir(host.c_str(), 0777) == 0) return;
  const int error = errno;
  struct stat existing {};
  if (error == EEXIST && ::lstat(host.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return;
  throw platform::FileError(path, SystemReason(error));
}

}  // namespace posix
