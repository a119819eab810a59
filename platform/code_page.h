// Conversion of the system code page's bytes, for showing text and for host file names.
#pragma once

#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The code page text is held in; Windows-1252 unless the platform says otherwise.
class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual std::string ToUtf8(std::string_view bytes) const = 0;
  // Empty when the text cannot be written in the code page.
  virtual std::optional<std::string> FromUtf8(std::string_view utf8) const = 0;
  // The bytes that begin a two-byte character (932, 936, 949, 950); none in a single-byte code page.
  virtual std::bitset<256> LeadBytes() const { return {}; }
};

}  // namespace platform
