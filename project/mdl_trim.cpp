#include "project/mdl_trim.h"

#include <limits>

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

}  // namespace mdlTrim
