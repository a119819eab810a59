// Sequential reading of regular files for the project reader, on POSIX.
#include "platform/posix/posix_text_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/errors.h"
#include "platform/posix/host_paths.h"

namespace posix {

FileDescriptor::~FileDescriptor() {
  Close();
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.Release();
  }
  return *this;
}

int FileDescriptor::Close() {
  if (fd_ < 0) return 0;
  const int result = ::close(fd_);
  fd_ = -1;
  return result == 0 ? 0 : errno;
}

FileDescriptor OpenRegularForReading(const std::string& hostPath, const std::string& windowsPath) {
  FileDescriptor fd(::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd.Valid()) throw platform::FileError(windowsPath, SystemReason(errno));
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) throw platform::FileError(windowsPath, SystemReason(errno));
  if (!S_ISREG(st.st_mode)) throw platform::FileError(windowsPath, kNotRegularText);
  return fd;
}

std::size_t ReadSome(const FileDescriptor& fd, char* buffer, std::size_t size,
                     const std::string& windowsPath) {
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throw platform::FileError(windowsPath, SystemReason(errno));
  }
}

namespace {

class PosixInput : public platform::InputFile {
 public:
  PosixInput(FileDescriptor fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}

  std::size_t Read(char* buffer, std::size_t size) override { return ReadSome(fd_, buffer, size, path_); }

 private:
  FileDescriptor fd_;
  std::string path_;
};

}  // namespace

std::unique_ptr<platform::InputFile> PosixTextFiles::OpenInput(const std::string& path) {
  // Most paths are spelled as on disk, and opening them settles it; any failure takes the full lookup,
  // whose answer and failures are the ones reported.
  try {
    return std::make_unique<PosixInput>(OpenRegularForReading(SpelledHostPath(path, codePage_), path), path);
  } catch (const platform::FileError&) {
  }
  const std::string host = HostFromWindows(path, codePage_);
  return std::make_unique<PosixInput>(OpenRegularForReading(host, path), path);
}

}  // namespace posix
