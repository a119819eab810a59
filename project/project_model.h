// The in-memory model of the open project.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace mdlFile {

// ComponentKind values.
inline constexpr int32_t kindUndetermined = 0;
inline constexpr int32_t kindForm = 1;
inline constexpr int32_t kindMdiForm = 2;
inline constexpr int32_t kindModule = 3;
inline constexpr int32_t kindClass = 4;
inline constexpr int32_t kindUserControl = 5;
inline constexpr int32_t kindPropertyPage = 6;
inline constexpr int32_t kindUserDocument = 7;
inline constexpr int32_t kindDesigner = 8;

// ProjectType values; 1 to 4 are also the root pictures' image-list positions.
inline constexpr int32_t typeNone = 0;
inline constexpr int32_t typeStandardExe = 1;
inline constexpr int32_t typeActiveXExe = 2;
inline constexpr int32_t typeActiveXDll = 3;
inline constexpr int32_t typeActiveXControl = 4;

struct Component {
  int32_t kind = kindUndetermined;
  std::string name;
  std::string path;  // as written in the project file, relative to its folder
  int64_t line = 0;  // the line of the project file that names it, from 1
};

// One "key=value" line of the project file, kept as read so that later readers (the checks, the
// dependencies) work on the same parse instead of reading the file again.
struct ProjectLine {
  int64_t number = 0;  // from 1
  std::string key;     // lower-cased, as keys are matched
  std::string value;   // everything after the first "=", unchanged
};

struct ProjectModel {
  std::string name;
  std::string filePath;  // the project file's full path, as passed to ReadProject
  int32_t type = typeNone;
  std::vector<Component> components;  // numbered from 0 in reading order
  int32_t count = 0;                  // always components.size()
  std::vector<ProjectLine> lines;     // every line holding "=", in file order
  // The bytes that begin a two-byte character in the code page the paths are in (none in most): paths
  // are split at "\\" and folded to lower case by characters, not bytes.
  std::bitset<256> leadBytes;
};

}  // namespace mdlFile
