// Small string functions shared by the reader, the node click and the packer.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace mdlTrim {

// The bytes that begin a two-byte character in the code page text is held in (932, 936, 949, 950); none
// in the single-byte code pages. The byte after a lead byte belongs to its character, even when it is
// "\\" or a letter.
using LeadBytes = std::bitset<256>;
// Whether text[i] begins a two-byte character: a lead byte with a second byte after it (none of those
// code pages has a second byte below 0x40).
inline bool StartsPair(std::string_view text, std::size_t i, const LeadBytes& lead) {
  return lead[static_cast<unsigned char>(text[i])] && i + 1 < text.size() &&
         static_cast<unsigned char>(text[i + 1]) >= 0x40;
}

// The number after a node key's first character ("f12" gives 12); 0 for an empty key.
int32_t KeyNumber(std::string_view key);
// The text before the last separator, or the whole text when there is none.
std::string TextBeforeLast(std::string_view text, char separator, const LeadBytes& lead = {});
// The text after the last separator, or the whole text when there is none.
std::string TextAfterLast(std::string_view text, char separator, const LeadBytes& lead = {});
// Where the last separator that is a character of its own stands, or npos.
std::size_t FindLastCharacter(std::string_view text, char separator, const LeadBytes& lead = {});
// The bytes of the text without its last `characters` characters, or npos when it has fewer.
std::size_t StemLength(std::string_view text, std::size_t characters, const LeadBytes& lead = {});
// The text with every occurrence of one character removed.
std::string RemoveAll(std::string_view text, char removed);

// Leading and trailing blanks (spaces only) removed, as the project files' fields are trimmed.
std::string_view TrimBlanks(std::string_view text);
// ASCII lower case; other bytes of the code page are left alone.
constexpr char LowerAsciiChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string LowerAscii(std::string_view text);
// Whether the texts are equal once both are in ASCII lower case.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
// ASCII lower case of the characters: the second byte of a two-byte character is left as it is.
std::string LowerText(std::string_view text, const LeadBytes& lead = {});
bool EqualsIgnoringCase(std::string_view a, std::string_view b, const LeadBytes& lead = {});

}  // namespace mdlTrim
