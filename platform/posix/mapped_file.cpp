#include "platform/posix/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace posix {

std::optional<MappedFile> MappedFile::Open(const std::string& hostPath) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat status {};
  std::optional<MappedFile> mapped;
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    const auto size = static_cast<std::size_t>(status.st_size);
    if (size == 0) {
      mapped.emplace(MappedFile(nullptr, 0));
    } else if (void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0); data != MAP_FAILED) {
      mapped.emplace(MappedFile(data, size));
    }
  }
  ::close(fd);
  return mapped;
}

MappedFile::MappedFile(MappedFile&& other) noexcept : data_(other.data_), size_(other.size_) {
  other.data_ = nullptr;
  other.size_ = 0;
}

MappedFile::~MappedFile() {
  if (data_ != nullptr) ::munmap(data_, size_);
}

}  // namespace posix
