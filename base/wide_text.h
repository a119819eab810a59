// UTF-16 text for the system calls that take wide strings.
#pragma once

#include <string>
#include <string_view>

namespace base {

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD.
std::u16string WideFromUtf8(std::string_view utf8);

}  // namespace base
