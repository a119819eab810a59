// A file's bytes read a block at a time, only where a reader asks: a type library's few headers cost a
// few small reads of a large DLL, with nothing mapped and nothing read that is not looked at.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/posix/type_library_reader.h"

namespace posix {

class FileBlocks : public ByteSource {
 public:
  // Nothing when the file cannot be opened or is not a regular file.
  static std::optional<FileBlocks> Open(const std::string& hostPath);
  FileBlocks(FileBlocks&& other) noexcept;
  FileBlocks& operator=(FileBlocks&&) = delete;
  FileBlocks(const FileBlocks&) = delete;
  ~FileBlocks() override;

  uint64_t size() const override { return size_; }
  // Bytes that could not be read (the file shrank, an I/O error) are given as zeros and remembered.
  void Copy(uint64_t offset, std::size_t length, char* out) override;
  bool failed() const { return failed_; }

 private:
  // A PE file's headers, its resource tables and a type library's headers each fit a block or two.
  static constexpr std::size_t kBlock = 8192;
  static constexpr std::size_t kSlots = 4;  // the blocks held, the oldest replaced first
  static constexpr uint64_t kNone = UINT64_MAX;

  FileBlocks(int fd, uint64_t size)
      : fd_(fd), size_(size), blocks_(std::make_unique_for_overwrite<char[]>(kSlots * kBlock)) {
    held_.fill(kNone);
  }
  const char* Block(uint64_t number);
  void ReadInto(char* out, uint64_t offset, std::size_t length);

  int fd_ = -1;
  uint64_t size_ = 0;
  bool failed_ = false;
  std::unique_ptr<char[]> blocks_;
  std::array<uint64_t, kSlots> held_{};  // the block number each slot holds
  std::size_t last_ = 0;                 // the slot last used
  std::size_t next_ = 0;                 // the slot to fill next
};

}  // namespace posix
