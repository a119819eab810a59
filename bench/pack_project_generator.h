// A large synthetic project for packing: thousands of components with their companion files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "project/project_model.h"

namespace bench {

struct PackProjectOnDisk {
  std::filesystem::path folder;              // the project's folder
  std::vector<std::filesystem::path> files;  // every file a pack copies, and the project file
  std::uintmax_t bytes = 0;
  mdlFile::ProjectModel model;  // as the reader would have read it; paths in Windows form on Z:
};

// Writes the project under folder (emptied first): `components` components of every kind, about
// 70 KB a component on average with companions.
PackProjectOnDisk WritePackProject(const std::filesystem::path& folder, int components);

// The factor in TARVEX_BENCH_SCALE (default 1.0) by which benchmarks scale their data.
double PackBenchScale();

}  // namespace bench
