#include "cmndlg/property_conversion.h"

#include <charconv>
#include <string_view>

#include "platform/errors.h"
#include "project/mdl_trim.h"

namespace cmndlg {

namespace {

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int32_t ParseLong(const std::string& text) {
  std::string_view digits = TrimBlanks(text);
  if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') digits.remove_prefix(1);
  int32_t number = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (ec == std::errc::result_out_of_range && end == digits.data() + digits.size()) {
    throw platform::RaisedError(kOverflow, "Overflow");
  }
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
    throw platform::RaisedError(kTypeMismatch, "Type mismatch");
  }
  return number;
}

}  // namespace

int32_t ToLong(const platform::PropertyValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return ParseLong(*text);
  if (const auto* boolean = std::get_if<int16_t>(&value)) return *boolean;
  return std::get<int32_t>(value);
}

int16_t ToBoolean(const platform::PropertyValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) {
    const std::string_view word = TrimBlanks(*text);
    if (mdlTrim::EqualsIgnoringAsciiCase(word, "true")) return -1;
    if (mdlTrim::EqualsIgnoringAsciiCase(word, "false")) return 0;
    return ParseLong(*text) != 0 ? -1 : 0;
  }
  if (const auto* boolean = std::get_if<int16_t>(&value)) return *boolean != 0 ? -1 : 0;
  return std::get<int32_t>(value) != 0 ? -1 : 0;
}

std::string ToText(const platform::PropertyValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* boolean = std::get_if<int16_t>(&value)) return *boolean != 0 ? "True" : "False";
  return std::to_string(std::get<int32_t>(value));
}

}  // namespace cmndlg
