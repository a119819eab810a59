#include "tests/fakes/memory_text_files.h"

#include <string>

namespace fakes {

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') {
      const std::size_t star = text.find('*', i), end = text.find('}', i);
      const std::string piece = Unescape(text.substr(star + 1, end - star - 1));
      for (long n = std::stol(text.substr(i + 1, star - i - 1)); n > 0; --n) out += piece;
      i = end;
    } else if (text[i] != '\\') {
      out += text[i];
    } else {
      const char c = text[++i];
      if (c == 'x') {
        out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c == '0' ? '\0' : c;
      }
    }
  }
  return out;
}

}  // namespace fakes
