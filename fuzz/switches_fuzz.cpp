// The switch parser on arbitrary argument text. The input is the argument text, then (after the first
// 0x00 byte, when there is one) a name to ask for. The table must be what the item rule gives, and
// HasSwitch must agree with a scan of the table, for that name and for every name in the table.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/mdl_param.h"
#include "fuzz/fuzz_check.h"

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return lower;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The items between "/" separators, each split at its first ":" or "=".
std::vector<mdlParam::Switch> Expected(const std::string& text) {
  std::vector<mdlParam::Switch> table;
  if (text.empty()) return table;
  const std::string s = text + "/";
  std::size_t previous = 0;  // counted from 1, 0 for none
  for (;;) {
    const std::size_t found = s.find('/', previous);  // at or after position previous + 1
    if (found == std::string::npos) break;
    const std::size_t position = found + 1;
    if (position != previous + 1) {
      const std::string_view item = Trim(std::string_view(s).substr(previous, position - 1 - previous));
      const std::size_t colon = item.find(':');
      const std::size_t equals = item.find('=');
      const std::size_t separator = std::min(colon, equals);
      if (separator != std::string_view::npos) {
        table.push_back({Lower(item.substr(0, separator)), std::string(item.substr(separator + 1))});
      } else if (previous == 0) {
        table.push_back({"", std::string(item)});
      } else {
        table.push_back({Lower(item), ""});
      }
    }
    previous = position;
  }
  return table;
}

void CheckAsked(const std::string& name) {
  const std::string key = Lower(Trim(name));
  bool present = false;
  for (const mdlParam::Switch& entry : mdlParam::Switches()) present = present || entry.name == key;
  const int16_t answer = mdlParam::HasSwitch(name);
  fuzz::Require(answer == 0 || answer == -1, "HasSwitch answered neither -1 nor 0");
  fuzz::Require((answer == -1) == present, "HasSwitch disagrees with the table for \"" + name + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string text(input.substr(0, nul));
  const std::string asked = nul == std::string_view::npos ? "Setup" : std::string(input.substr(nul + 1));

  mdlParam::ParseSwitches(text);
  const std::vector<mdlParam::Switch> expected = Expected(text);
  const std::vector<mdlParam::Switch>& table = mdlParam::Switches();
  fuzz::Require(table.size() == expected.size(), "the table has another number of entries than items");
  for (std::size_t i = 0; i < table.size(); ++i) {
    fuzz::Require(table[i].name == expected[i].name && table[i].value == expected[i].value,
                  "entry " + std::to_string(i) + " differs from its item");
    fuzz::Require(table[i].value.find('/') == std::string::npos, "a value holds a \"/\"");
  }
  CheckAsked(asked);
  CheckAsked("Setup");
  for (const mdlParam::Switch& entry : expected) {
    CheckAsked(entry.name);
    std::string shouted = "  " + entry.name + " ";
    for (char& c : shouted) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    CheckAsked(shouted);
  }
  // Parsing again starts from an empty table.
  mdlParam::ParseSwitches("");
  fuzz::Require(mdlParam::Switches().empty() && mdlParam::HasSwitch("Setup") == 0,
                "an empty command line left entries");
  return 0;
}
