#include "base/hex_number.h"

#include "base/ascii_case.h"

namespace base {

std::optional<uint32_t> HexNumber(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (const char c : text) {
    const char l = LowerAsciiChar(c);
    if (l >= '0' && l <= '9') {
      value = value * 16 + static_cast<uint32_t>(l - '0');
    } else if (l >= 'a' && l <= 'f') {
      value = value * 16 + static_cast<uint32_t>(l - 'a' + 10);
    } else {
      return std::nullopt;
    }
  }
  return value;
}

}  // namespace base
