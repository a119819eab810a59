#include "platform/posix/file_blocks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace posix {

std::optional<FileBlocks> FileBlocks::Open(const std::string& hostPath) {
  // Not blocking: a FIFO where a library was expected must not hang the open.
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  return FileBlocks(fd, static_cast<uint64_t>(status.st_size));
}

FileBlocks::FileBlocks(FileBlocks&& other) noexcept
    : fd_(other.fd_),
      size_(other.size_),
      failed_(other.failed_),
      blocks_(std::move(other.blocks_)),
      held_(other.held_),
      last_(other.last_),
      next_(other.next_) {
  other.fd_ = -1;
}

FileBlocks::~FileBlocks() {
  if (fd_ >= 0) ::close(fd_);
}

const char* FileBlocks::Block(uint64_t number) {
  // The reader mostly reads on in the block it read last.
  if (held_[last_] == number) return blocks_.get() + last_ * kBlock;
  for (std::size_t slot = 0; slot < kSlots; ++slot) {
    if (held_[slot] == number) {
      last_ = slot;
      return blocks_.get() + slot * kBlock;
    }
  }
  if (size_ <= kSlots * kBlock && number < kSlots) {
    // A small file (a bare .tlb) is read whole at once, block i in slot i.
    ReadInto(blocks_.get(), 0, kSlots * kBlock);
    for (std::size_t slot = 0; slot < kSlots; ++slot) held_[slot] = slot;
    next_ = 0;
    last_ = static_cast<std::size_t>(number);
    return blocks_.get() + number * kBlock;
  }
  const std::size_t slot = next_;
  next_ = (next_ + 1) % kSlots;
  last_ = slot;
  char* block = blocks_.get() + slot * kBlock;
  ReadInto(block, number * kBlock, kBlock);
  held_[slot] = number;
  return block;
}

void FileBlocks::ReadInto(char* out, uint64_t offset, std::size_t length) {
  // Short of the file's size as it was opened: the rest reads as zeros, and the read is known to have failed.
  const std::size_t expected =
      static_cast<std::size_t>(std::min<uint64_t>(length, size_ - std::min(size_, offset)));
  std::size_t got = 0;
  while (got < expected) {
    const ssize_t read = ::pread(fd_, out + got, expected - got, static_cast<off_t>(offset + got));
    if (read < 0 && errno == EINTR) continue;
    if (read <= 0) break;
    got += static_cast<std::size_t>(read);
  }
  if (got < expected) failed_ = true;
  std::memset(out + got, 0, length - got);
}

void FileBlocks::Copy(uint64_t offset, std::size_t length, char* out) {
  while (length > 0) {
    const uint64_t number = offset / kBlock;
    const std::size_t within = static_cast<std::size_t>(offset % kBlock);
    const std::size_t part = std::min(length, kBlock - within);
    std::memcpy(out, Block(number) + within, part);
    out += part;
    offset += part;
    length -= part;
  }
}

}  // namespace posix
