// Findings as `tarvex-cli check` prints them: one a line, or a JSON array.
#pragma once

#include <string>
#include <vector>

#include "check/check_project.h"
#include "platform/code_page.h"

namespace cli {

// Paths as the user would type them: the file given on the command line as given, files in its folder
// joined to the argument's folder, any other as its Windows path.
class PathShower {
 public:
  PathShower(std::string argument, const std::string& givenFile, const platform::CodePage& codePage);
  std::string operator()(const std::string& file) const;

 private:
  std::string argument_;
  std::string givenFile_;
  std::string folder_;
  const platform::CodePage& codePage_;
};

// "PATH:LINE: severity: text [code]" a line.
std::string FindingsText(const std::vector<check::Finding>& findings, const PathShower& shown,
                         const platform::CodePage& codePage);
// An array of {file, line, severity, code, text}.
std::string FindingsJson(const std::vector<check::Finding>& findings, const PathShower& shown,
                         const platform::CodePage& codePage);

}  // namespace cli
