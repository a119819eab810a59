// Small string functions shared by the reader, the node click and the packer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/ascii_case.h"
#include "base/code_page_text.h"

namespace mdlTrim {

// Two-byte characters of the double-byte code pages, as every layer tells them apart.
using base::EqualsIgnoringCase;
using base::FindLastCharacter;
using base::LeadBytes;
using base::LowerText;
using base::StartsPair;
using base::StemLength;

// The number after a node key's first character ("f12" gives 12); 0 for an empty key.
int32_t KeyNumber(std::string_view key);
// The text before the last separator, or the whole text when there is none.
std::string TextBeforeLast(std::string_view text, char separator, const LeadBytes& lead = {});
// The text after the last separator, or the whole text when there is none.
std::string TextAfterLast(std::string_view text, char separator, const LeadBytes& lead = {});
// The text with every occurrence of one character removed.
std::string RemoveAll(std::string_view text, char removed);

// Leading and trailing blanks (spaces only) removed, as the project files' fields are trimmed.
std::string_view TrimBlanks(std::string_view text);
// ASCII case folding, as every layer folds names.
using base::EqualsIgnoringAsciiCase;
using base::LowerAscii;
using base::LowerAsciiChar;

}  // namespace mdlTrim
