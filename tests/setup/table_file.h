// Cases kept as text under tests/data/setup: one case a line, its fields separated by "|" and taken as
// written (blanks included); blank lines and lines starting with "#" are left out.
#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace setup_test {

using Row = std::vector<std::string>;

inline std::vector<Row> ReadTable(const std::string& name) {
  std::ifstream in(std::string(TARVEX_SOURCE_DIR) + "/tests/data/setup/" + name, std::ios::binary);
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    Row& row = rows.emplace_back();
    std::istringstream fields(line + "|");
    for (std::string field; std::getline(fields, field, '|');) row.push_back(field);
  }
  if (rows.empty()) throw std::runtime_error("no cases in tests/data/setup/" + name);
  return rows;
}

}  // namespace setup_test
