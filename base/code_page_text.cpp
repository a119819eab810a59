#include "base/code_page_text.h"

#include <vector>

#include "base/ascii_case.h"

namespace base {

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

}  // namespace base
