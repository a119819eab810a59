#include "project/mdl_trim.h"

#include <algorithm>

#include <limits>
#include <vector>

namespace mdlTrim {

int32_t KeyNumber(std::string_view key) {
  if (key.empty()) return 0;
  // Keys are "f" followed by decimal digits; anything else reads as far as the digits go,
  // and a number too large for 32 bits saturates instead of wrapping.
  int64_t value = 0;
  for (const char c : key.substr(1)) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  }
  return static_cast<int32_t>(value);
}

std::size_t FindLastCharacter(std::string_view text, char separator, const LeadBytes& lead) {
  if (lead.none()) return text.rfind(separator);
  // Characters are told apart only from the start: a byte may be a lead byte or a second byte.
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == separator) found = i;
    if (StartsPair(text, i, lead)) ++i;
  }
  return found;
}

std::size_t StemLength(std::string_view text, std::size_t characters, const LeadBytes& lead) {
  if (lead.none()) return text.size() < characters ? std::string_view::npos : text.size() - characters;
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); ++i) {
    starts.push_back(i);
    if (StartsPair(text, i, lead)) ++i;
  }
  return starts.size() < characters ? std::string_view::npos
                                    : (characters == 0 ? text.size() : starts[starts.size() - characters]);
}

std::string TextBeforeLast(std::string_view text, char separator, const LeadBytes& lead) {
  const auto p = FindLastCharacter(text, separator, lead);
  if (p == std::string_view::npos) return std::string(text);
  return std::string(text.substr(0, p));
}

std::string TextAfterLast(std::string_view text, char separator, const LeadBytes& lead) {
  const auto p = FindLastCharacter(text, separator, lead);
  if (p == std::string_view::npos) return std::string(text);
  return std::string(text.substr(p + 1));
}

std::string RemoveAll(std::string_view text, char removed) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c != removed) out.push_back(c);
  }
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerAsciiChar(c);
  return out;
}

std::string LowerText(std::string_view text, const LeadBytes& lead) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (StartsPair(out, i, lead)) {
      ++i;  // the second byte of a character is no letter
    } else {
      out[i] = LowerAsciiChar(out[i]);
    }
  }
  return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b, const LeadBytes& lead) {
  return a.size() == b.size() && LowerText(a, lead) == LowerText(b, lead);
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAsciiChar(x) == LowerAsciiChar(y);
         });
}

}  // namespace mdlTrim
