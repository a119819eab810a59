// Text in a double-byte code page (932, 936, 949, 950) is a run of characters of one or two bytes: the
// byte after a lead byte belongs to its character even when it is "\" or a letter, so splitting at a
// separator, counting characters and folding case go by characters. With no lead bytes (every
// single-byte code page) these are plain byte operations.
#pragma once

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

namespace base {

// The bytes that begin a two-byte character in the code page the text is held in.
using LeadBytes = std::bitset<256>;

// Whether text[i] begins a two-byte character: a lead byte with a second byte after it (none of those
// code pages has a second byte below 0x40).
inline bool StartsPair(std::string_view text, std::size_t i, const LeadBytes& lead) {
  return lead[static_cast<unsigned char>(text[i])] && i + 1 < text.size() &&
         static_cast<unsigned char>(text[i + 1]) >= 0x40;
}

// Where the last separator that is a character of its own stands, or npos.
std::size_t FindLastCharacter(std::string_view text, char separator, const LeadBytes& lead = {});
// The bytes of the text without its last `characters` characters, or npos when it has fewer.
std::size_t StemLength(std::string_view text, std::size_t characters, const LeadBytes& lead = {});
// ASCII lower case of the characters: the second byte of a two-byte character is left as it is.
std::string LowerText(std::string_view text, const LeadBytes& lead = {});
bool EqualsIgnoringCase(std::string_view a, std::string_view b, const LeadBytes& lead = {});

}  // namespace base
