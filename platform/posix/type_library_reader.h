// Reads which type library a file holds, from its bytes: a bare type library (MSFT or SLTG form) or
// the TYPELIB resource of a 32- or 64-bit PE file. Every offset is checked against the bytes, so a
// truncated or hostile file gives a reason, never a read out of range.
#pragma once

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

// resourceId selects the TYPELIB resource of a PE file (its "\3" in a reference's path); 0 takes the first.
TypeLibRead ReadTypeLibrary(std::string_view bytes, uint32_t resourceId = 0);

}  // namespace posix
