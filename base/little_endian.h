// The byte order of the Windows file formats the system writes (shortcuts, icons).
#pragma once

#include <cstdint>
#include <string>

namespace base {

// Appends the low bytes of value, least significant first.
inline void AppendLittleEndian(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
inline void Put16(std::string& out, uint32_t value) {
  AppendLittleEndian(out, value, 2);
}
inline void Put32(std::string& out, uint32_t value) {
  AppendLittleEndian(out, value, 4);
}
inline void Put64(std::string& out, uint64_t value) {
  AppendLittleEndian(out, value, 8);
}

}  // namespace base
