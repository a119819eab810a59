// Exclusive creation and deletion of probe files; an existing file is never opened or truncated.
#include "platform/posix/setup_probe_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/errors.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/posix_text_files.h"

namespace posix {
namespace {

class PosixProbeFile : public platform::ProbeFile {
 public:
  explicit PosixProbeFile(FileDescriptor fd) : fd_(std::move(fd)) {}
  bool Close() override { return fd_.Close() == 0; }

 private:
  FileDescriptor fd_;
};

}  // namespace

platform::CreatedProbe PosixProbeFiles::CreateExclusive(const std::string& path) {
  std::string host;
  try {
    host = HostFromWindows(path, codePage_, true);
  } catch (const platform::FileError&) {
    return {platform::ProbeCreate::Failed, nullptr};
  }
  // O_EXCL also refuses a symbolic link of that name, so nothing outside the folder is created.
  FileDescriptor fd(::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
  if (!fd.Valid()) {
    return {errno == EEXIST ? platform::ProbeCreate::AlreadyExists : platform::ProbeCreate::Failed, nullptr};
  }
  return {platform::ProbeCreate::Created, std::make_unique<PosixProbeFile>(std::move(fd))};
}

bool PosixProbeFiles::Delete(const std::string& path) {
  try {
    return ::unlink(HostFromWindows(path, codePage_).c_str()) == 0;
  } catch (const platform::FileError&) {
    return false;
  }
}

}  // namespace posix
