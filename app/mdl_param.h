// The command-line switches: parsed once at start-up into the switch table, then asked by name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdlParam {

struct Switch {
  std::string name;   // lower-cased; empty for an item without a name
  std::string value;  // as written, case kept; empty when there is no separator
};

// Empties the switch table and fills it from the argument text (the command line without the
// program's own path): items end at "/", each splits at its first ":" or "=".
void ParseSwitches(const std::string& argumentText);

// -1 when some switch has the given name (trimmed of blanks and lower-cased first), 0 otherwise.
int16_t HasSwitch(const std::string& name);

// The switch table in command-line order, for reading only.
const std::vector<Switch>& Switches();

}  // namespace mdlParam
