// The switch parser on arbitrary argument text. The input is the argument text, then (after the first
// 0x00 byte, when there is one) a name to ask for. The table must be what the item rule gives, and
// HasSwitch must agree with a scan of the table, for that name, for "Setup" and for every name in the table.
#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "app/mdl_param.h"
#include "fuzz/fuzz_check.h"
#include "project/mdl_trim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string text = input.substr(0, nul);
  mdlParam::ParseSwitches(text);

  // Every non-empty piece between slashes is an item, split at its first ":" or "="; without one, the
  // piece before the first slash is a value and any later one a name. Asked for are "Setup", what
  // follows the NUL (without one, npos + 1 is 0: the whole input) and every name in the table.
  std::vector<std::string> expected, table, names{"Setup", input.substr(nul + 1)};
  std::istringstream pieces(text);
  std::string piece;
  for (bool first = true; std::getline(pieces, piece, '/'); first = false) {
    if (piece.empty()) continue;
    const std::string item(mdlTrim::TrimBlanks(piece));
    const std::size_t separator = item.find_first_of(":=");
    const bool split = separator != std::string::npos;
    names.push_back(split || !first ? mdlTrim::LowerAscii(item.substr(0, separator)) : "");
    expected.push_back(names.back() + "=" + (split ? item.substr(separator + 1) : first ? item : ""));
  }
  for (const mdlParam::Switch& entry : mdlParam::Switches()) table.push_back(entry.name + "=" + entry.value);
  fuzz::Require(table == expected, "the table differs from the items");

  for (const std::string& name : names) {
    const std::string key = mdlTrim::LowerAscii(mdlTrim::TrimBlanks(name));
    const bool present =
        std::ranges::any_of(mdlParam::Switches(), [&](const auto& e) { return e.name == key; });
    // Asked in capitals between blanks, as well as written.
    std::string shouted = "  " + name + " ";
    for (char& c : shouted) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    for (const std::string& asked : {name, shouted}) {
      const int16_t answer = mdlParam::HasSwitch(asked);
      fuzz::Require(answer == (present ? -1 : 0),
                    "HasSwitch gives " + std::to_string(answer) + " for \"" + asked + "\"");
    }
  }
  return 0;
}
