#include "cmndlg/property_bag_text.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "platform/errors.h"
#include "project/mdl_trim.h"

namespace cmndlg {

namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsPlainName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), IsNameChar);
}

[[noreturn]] void Malformed(size_t lineNumber, const std::string& why) {
  throw platform::RaisedError(kInvalidPropertyValue,
                              "Invalid property value in line " + std::to_string(lineNumber) + ": " + why);
}

// Reads one line's value, starting after the '='.
platform::PropertyValue ParseValue(std::string_view rest, size_t lineNumber) {
  size_t pos = 0;
  while (pos < rest.size() && IsBlank(rest[pos])) ++pos;
  platform::PropertyValue value;
  if (pos < rest.size() && rest[pos] == '"') {
    std::string text;
    ++pos;
    for (;;) {
      if (pos >= rest.size()) Malformed(lineNumber, "unterminated string");
      if (rest[pos] == '"') {
        if (pos + 1 < rest.size() && rest[pos + 1] == '"') {
          text += '"';
          pos += 2;
          continue;
        }
        ++pos;
        break;
      }
      text += rest[pos++];
    }
    value = std::move(text);
  } else {
    const char* first = rest.data() + pos;
    size_t end = pos;
    if (end < rest.size() && rest[end] == '-') ++end;
    while (end < rest.size() && rest[end] >= '0' && rest[end] <= '9') ++end;
    int32_t number = 0;
    const auto [ptr, ec] = std::from_chars(first, rest.data() + end, number);
    if (ec == std::errc::result_out_of_range) Malformed(lineNumber, "number outside 32 bits");
    if (ec != std::errc() || ptr == first) Malformed(lineNumber, "value is neither a string nor a number");
    pos = end;
    value = number;
  }
  while (pos < rest.size() && IsBlank(rest[pos])) ++pos;
  if (pos != rest.size()) Malformed(lineNumber, "text after the value");
  return value;
}

void CheckWritable(const std::string& name, const platform::PropertyValue& value) {
  if (!IsPlainName(name))
    throw platform::RaisedError(kInvalidPropertyValue, "Invalid property name: " + name);
  if (const auto* text = std::get_if<std::string>(&value);
      text && text->find_first_of("\r\n") != std::string::npos) {
    throw platform::RaisedError(kInvalidPropertyValue, "A line break cannot be saved in property " + name);
  }
}

}  // namespace

std::vector<SavedProperty> ParsePropertyText(std::string_view text) {
  std::vector<SavedProperty> properties;
  size_t lineNumber = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end;
    if (start < text.size())
      start += (text[start] == '\r' && start + 1 < text.size() && text[start + 1] == '\n') ? 2 : 1;
    ++lineNumber;

    size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos == line.size()) continue;
    const size_t nameStart = pos;
    while (pos < line.size() && IsNameChar(line[pos])) ++pos;
    const std::string_view name = line.substr(nameStart, pos - nameStart);
    if (name.empty()) Malformed(lineNumber, "no property name");
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos == line.size() || line[pos] != '=') Malformed(lineNumber, "no '=' after the name");
    platform::PropertyValue value = ParseValue(line.substr(pos + 1), lineNumber);
    if (std::any_of(properties.begin(), properties.end(),
                    [&](const SavedProperty& p) { return mdlTrim::EqualsIgnoringAsciiCase(p.name, name); })) {
      Malformed(lineNumber, "property " + std::string(name) + " given twice");
    }
    properties.push_back({std::string(name), std::move(value)});
  }
  return properties;
}

std::string FormatPropertyText(const std::vector<SavedProperty>& properties) {
  std::string text;
  for (const SavedProperty& property : properties) {
    CheckWritable(property.name, property.value);
    text += property.name;
    text += " = ";
    if (const auto* s = std::get_if<std::string>(&property.value)) {
      text += '"';
      for (char c : *s) {
        if (c == '"') text += '"';
        text += c;
      }
      text += '"';
    } else if (const auto* b = std::get_if<int16_t>(&property.value)) {
      text += std::to_string(*b);
    } else {
      text += std::to_string(std::get<int32_t>(property.value));
    }
    text += "\r\n";
  }
  return text;
}

platform::PropertyValue TextPropertyBag::ReadProperty(const std::string& name,
                                                      const platform::PropertyValue& defaultValue) {
  for (const SavedProperty& property : properties_) {
    if (mdlTrim::EqualsIgnoringAsciiCase(property.name, name)) return property.value;
  }
  return defaultValue;
}

void TextPropertyBag::WriteProperty(const std::string& name, const platform::PropertyValue& value,
                                    const platform::PropertyValue& defaultValue) {
  CheckWritable(name, value);
  const auto saved = std::find_if(properties_.begin(), properties_.end(), [&](const SavedProperty& p) {
    return mdlTrim::EqualsIgnoringAsciiCase(p.name, name);
  });
  if (value == defaultValue) {
    if (saved != properties_.end()) properties_.erase(saved);
  } else if (saved != properties_.end()) {
    *saved = {name, value};
  } else {
    properties_.push_back({name, value});
  }
}

}  // namespace cmndlg
