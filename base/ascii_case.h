// ASCII case folding: names in project files and on disks match without regard to ASCII case, while the
// code page's other bytes are compared as they are.
#pragma once

#include <string>
#include <string_view>

namespace base {

// ASCII lower case; other bytes of the code page are left alone.
constexpr char LowerAsciiChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string LowerAscii(std::string_view text);
// Whether the texts are equal once both are in ASCII lower case.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace base
