// A file's bytes mapped read-only: only the pages a reader touches are read, so a type library's few
// headers cost a few pages of a large DLL.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace posix {

class MappedFile {
 public:
  // Nothing when the file cannot be opened, is not a regular file, or cannot be mapped.
  static std::optional<MappedFile> Open(const std::string& hostPath);
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&&) = delete;
  MappedFile(const MappedFile&) = delete;
  ~MappedFile();

  std::string_view bytes() const { return {static_cast<const char*>(data_), size_}; }

 private:
  MappedFile(void* data, std::size_t size) : data_(data), size_(size) {}
  void* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace posix
