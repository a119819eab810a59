// Hexadecimal numbers as project and registry files write versions and locale identifiers ("1.a", "409").
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace base {

// The value of 1 to 8 hexadecimal digits in either case; nothing for any other text.
std::optional<uint32_t> HexNumber(std::string_view text);

}  // namespace base
