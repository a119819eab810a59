// Large synthetic VB6 projects on disk, laid out as the development environment writes them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

struct SyntheticProject {
  std::filesystem::path folder;
  std::filesystem::path projectFile;
  std::vector<std::filesystem::path> files;  // every file the project names, the project file first
  std::uintmax_t bytes = 0;
};

// Writes a project of `components` components into folder: forms of formMin to formMax bytes (a
// Begin VB.Form block with controls, the Attribute lines, then code), modules, classes and user controls.
SyntheticProject WriteSyntheticProject(const std::filesystem::path& folder, int components,
                                       std::size_t formMin, std::size_t formMax, std::uint32_t seed = 1);

// A scale factor from the environment variable TARVEX_BENCH_SCALE (default 1.0).
double BenchScale();

}  // namespace bench
