// Where a member's library is read from, over tests/data/group/library-files.txt: the binary-compatibility
// file when compatibility is asked for, then the output file in its folder.
#include <gtest/gtest.h>

#include "group/member_libraries.h"
#include "tests/fakes/table_file.h"

namespace {

std::string Trimmed(std::string text) {
  text.erase(0, text.find_first_not_of(' '));
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

TEST(MemberLibraries, FilesFollowTheTable) {
  for (const auto& row : fakes::ReadTable("group/library-files.txt")) {
    ASSERT_EQ(row.size(), 2u) << row[0];
    mdlFile::ProjectModel model;
    model.filePath = "C:\\Src\\Lib\\Lib.vbp";
    const std::string lines = Trimmed(row[0]) + ";";
    for (std::size_t at = 0, end; (end = lines.find(';', at)) != std::string::npos; at = end + 1) {
      const std::string line = lines.substr(at, end - at);
      const auto equals = line.find('=');
      std::string key = line.substr(0, equals);
      for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      model.lines.push_back({static_cast<int64_t>(model.lines.size() + 1), key, line.substr(equals + 1)});
    }
    std::string got;
    for (const auto& file : mdlGroup::LibraryFilePaths(model))
      got += (got.empty() ? "" : ";") + file.written + ">" + file.full;
    EXPECT_EQ(got, Trimmed(row[1])) << row[0];
  }
}

}  // namespace
