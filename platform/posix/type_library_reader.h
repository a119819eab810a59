// Reads which type library a file holds, from its bytes: a bare type library (MSFT or SLTG form) or
// the TYPELIB resource of a 32- or 64-bit PE file. Every offset is checked against the bytes, so a
// truncated or hostile file gives a reason, never a read out of range. Only the few ranges the headers
// lead to are asked for, so a file need not be read whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/library_files.h"

namespace posix {

struct TypeLibRead {
  std::optional<platform::TypeLibIdentity> identity;
  std::string problem;  // why there is no identity
};

// Where the reader's bytes come from: memory, or a file read a block at a time.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t size() const = 0;
  // Copies the length bytes at offset, which lie inside size(), to out.
  virtual void Copy(uint64_t offset, std::size_t length, char* out) = 0;
};

// resourceId selects the TYPELIB resource of a PE file (its "\3" in a reference's path); 0 takes the first.
TypeLibRead ReadTypeLibrary(ByteSource& bytes, uint32_t resourceId = 0);
TypeLibRead ReadTypeLibrary(std::string_view bytes, uint32_t resourceId = 0);

}  // namespace posix
