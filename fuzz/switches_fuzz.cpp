// The switch parser on arbitrary argument text. The input is the argument text, then (after the first
// 0x00 byte, when there is one) a name to ask for. The table must be what the item rule gives, and
// HasSwitch must agree with a scan of the table, for that name and for every name in the table.
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "app/mdl_param.h"
#include "fuzz/fuzz_check.h"
#include "project/mdl_trim.h"

namespace {

void CheckAsked(const std::string& name) {
  const std::string key = mdlTrim::LowerAscii(mdlTrim::TrimBlanks(name));
  bool present = false;
  for (const mdlParam::Switch& entry : mdlParam::Switches()) present = present || entry.name == key;
  const int16_t answer = mdlParam::HasSwitch(name);
  fuzz::Require(answer == 0 || answer == -1, "HasSwitch answered neither -1 nor 0");
  fuzz::Require((answer == -1) == present, "HasSwitch disagrees with the table for \"" + name + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string text = input.substr(0, nul);
  mdlParam::ParseSwitches(text);

  // Every non-empty piece between slashes is an item, split at its first ":" or "="; without one, the
  // piece before the first slash is a value and any later one a name.
  std::vector<mdlParam::Switch> expected;
  std::istringstream pieces(text);
  std::string piece;
  for (bool first = true; std::getline(pieces, piece, '/'); first = false) {
    if (piece.empty()) continue;
    const std::string item(mdlTrim::TrimBlanks(piece));
    const std::size_t separator = item.find_first_of(":=");
    if (separator != std::string::npos) {
      expected.push_back({mdlTrim::LowerAscii(item.substr(0, separator)), item.substr(separator + 1)});
    } else {
      expected.push_back(first ? mdlParam::Switch{"", item}
                               : mdlParam::Switch{mdlTrim::LowerAscii(item), ""});
    }
  }
  const std::vector<mdlParam::Switch>& table = mdlParam::Switches();
  fuzz::Require(table.size() == expected.size(), "the table has another number of entries than items");
  for (std::size_t i = 0; i < table.size(); ++i) {
    fuzz::Require(table[i].name == expected[i].name && table[i].value == expected[i].value,
                  "entry " + std::to_string(i) + " differs from its item");
  }
  CheckAsked(nul == std::string::npos ? "Setup" : input.substr(nul + 1));
  CheckAsked("Setup");
  for (const mdlParam::Switch& entry : expected) {
    std::string shouted = "  " + entry.name + " ";
    for (char& c : shouted) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    CheckAsked(shouted);
  }
  return 0;
}
