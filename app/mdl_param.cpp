#include "app/mdl_param.h"

#include <string_view>

#include "project/mdl_trim.h"

namespace mdlParam {
namespace {

// Filled once at start-up and never changed afterwards.
std::vector<Switch> switchTable;

Switch ParseItem(std::string_view item, bool first) {
  const std::size_t colon = item.find(':');
  const std::size_t equals = item.find('=');
  const std::size_t separator = colon < equals ? colon : equals;
  if (separator != std::string_view::npos) {
    // A blank before the separator stays part of the name.
    return {mdlTrim::LowerAscii(item.substr(0, separator)), std::string(item.substr(separator + 1))};
  }
  // Text before the first "/" is a value without a name, such as a file to open.
  if (first) return {"", std::string(item)};
  return {mdlTrim::LowerAscii(item), ""};
}

}  // namespace

void ParseSwitches(const std::string& argumentText) {
  switchTable.clear();
  if (argumentText.empty()) return;
  const std::string s = argumentText + "/";
  std::size_t start = 0;  // just after the "/" that ended the previous item
  while (true) {
    const std::size_t slash = s.find('/', start);
    if (slash == std::string::npos) return;
    if (slash > start) {
      const std::string_view item = mdlTrim::TrimBlanks(std::string_view(s).substr(start, slash - start));
      switchTable.push_back(ParseItem(item, start == 0));
    }
    start = slash + 1;
  }
}

int16_t HasSwitch(const std::string& name) {
  const std::string key = mdlTrim::LowerAscii(mdlTrim::TrimBlanks(name));
  for (const Switch& entry : switchTable) {
    if (entry.name == key) return -1;
  }
  return 0;
}

const std::vector<Switch>& Switches() {
  return switchTable;
}

}  // namespace mdlParam
