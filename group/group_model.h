// A project group as its group file (.vbg) gives it: the members in the file's order, the startup one marked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "project/project_model.h"

namespace mdlGroup {

struct GroupMember {
  std::string path;  // as written after "=", relative to the group file's folder
  int64_t line = 0;  // the group file's line that names it, from 1
  bool startup = false;
};

// Why the file is no group, or why a line names no member of it; each is an error of the group file.
struct GroupProblem {
  int64_t line = 0;  // 0 for the file as a whole
  std::string code;
  std::string text;
};

struct GroupModel {
  std::string filePath;                     // the group file's full Windows path, as passed to ReadGroup
  std::vector<GroupMember> members;         // in the group file's order
  std::vector<mdlFile::ProjectLine> lines;  // every line holding "=", in file order
  std::vector<GroupProblem> problems;
  int startupLines = 0;  // StartupProject lines met; the first one is the startup member
};

}  // namespace mdlGroup
