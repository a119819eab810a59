// A large synthetic project for packing: thousands of components with their companion files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "group/group_model.h"
#include "project/project_model.h"

namespace bench {

struct PackProjectOnDisk {
  std::filesystem::path folder;              // the project's folder
  std::vector<std::filesystem::path> files;  // every file a pack copies, and the project file
  std::uintmax_t bytes = 0;
  mdlFile::ProjectModel model;  // as the reader would have read it; paths in Windows form on Z:
};

// Writes the project Big\Big.vbp under folder (emptied first): `components` components of every kind,
// about 70 KB a component on average with companions, a third of them forms whose files lie in Forms
// beside the project's folder, outside it.
PackProjectOnDisk WritePackProject(const std::filesystem::path& folder, int components);

struct PackGroupOnDisk {
  mdlGroup::GroupModel group;  // as the reader would have read it
  std::vector<mdlFile::ProjectModel> members;
  std::vector<std::filesystem::path> files;  // every file a pack copies, the project files and the group file
  std::uintmax_t bytes = 0;
};

// Writes the group Big.vbg under folder (emptied first): `members` projects in folders of their own with
// `components` components among them, laid out as WritePackProject lays one out, every member's forms in
// the one Forms folder.
PackGroupOnDisk WritePackGroup(const std::filesystem::path& folder, int members, int components);

// The factor in TARVEX_BENCH_SCALE (default 1.0) by which benchmarks scale their data.
double PackBenchScale();

}  // namespace bench
