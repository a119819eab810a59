// Small string functions shared by the reader, the node click and the packer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mdlTrim {

// The number after a node key's first character ("f12" gives 12); 0 for an empty key.
int32_t KeyNumber(std::string_view key);
// The text before the last separator, or the whole text when there is none.
std::string TextBeforeLast(std::string_view text, char separator);
// The text after the last separator, or the whole text when there is none.
std::string TextAfterLast(std::string_view text, char separator);
// The text with every occurrence of one character removed.
std::string RemoveAll(std::string_view text, char removed);

// Leading and trailing blanks (spaces only) removed, as the project files' fields are trimmed.
std::string_view TrimBlanks(std::string_view text);
// ASCII lower case; other bytes of the code page are left alone.
constexpr char LowerAsciiChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
std::string LowerAscii(std::string_view text);
// Whether the texts are equal once both are in ASCII lower case.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace mdlTrim
