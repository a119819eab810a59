// Cases kept as text under tests/data: one case a line, its fields split at each separator and taken as
// written (blanks included), the last of at most `fields` holding the rest of the line; blank lines and
// lines starting with "#" are left out.
#pragma once

#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace fakes {

using Row = std::vector<std::string>;

inline std::vector<Row> ReadTable(const std::string& file, std::string_view separator = "|",
                                  std::size_t fields = std::string::npos) {
  std::ifstream in(std::string(TARVEX_SOURCE_DIR) + "/tests/data/" + file, std::ios::binary);
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    Row& row = rows.emplace_back();
    std::size_t at = 0;
    for (std::size_t end; row.size() + 1 < fields && (end = line.find(separator, at)) != std::string::npos;
         at = end + separator.size()) {
      row.push_back(line.substr(at, end - at));
    }
    row.push_back(line.substr(at));
  }
  if (rows.empty()) throw std::runtime_error("no cases in tests/data/" + file);
  return rows;
}

}  // namespace fakes
