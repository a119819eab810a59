// Reading files named by Windows paths on a POSIX host, through the Z: drive mapping.
#pragma once

#include <cstddef>
#include <string>

#include "platform/code_page.h"
#include "platform/text_files.h"

namespace posix {

class PosixTextFiles : public platform::TextFiles {
 public:
  explicit PosixTextFiles(const platform::CodePage& codePage) : codePage_(codePage) {}
  // Only regular files open: a folder, FIFO or device fails as a missing file would, without blocking.
  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override;
  std::bitset<256> LeadBytes() const override { return codePage_.LeadBytes(); }

 private:
  const platform::CodePage& codePage_;
};

// A file descriptor, closed with its owner.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes now and reports close's own failure (a deferred write error shows here). Returns 0 or errno.
  int Close();

 private:
  int fd_;
};

// Opens an existing regular file for reading without blocking on FIFOs or devices.
// Throws platform::FileError naming windowsPath.
FileDescriptor OpenRegularForReading(const std::string& hostPath, const std::string& windowsPath);
// Reads what is there, up to size bytes, going on after an interrupted call; 0 at the end of the file.
// Throws platform::FileError naming windowsPath.
std::size_t ReadSome(const FileDescriptor& fd, char* buffer, std::size_t size,
                     const std::string& windowsPath);

}  // namespace posix
