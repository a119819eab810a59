// The keys of the project tree's nodes: the root "p0", the folder of a kind "r" and the kind's number, a
// component "f" and its number in the model. The node click and the printed tree read them back.
#pragma once

#include <cstdint>
#include <string>

namespace mdlFile {

inline constexpr char kRootPrefix = 'p';
inline constexpr char kFolderPrefix = 'r';
inline constexpr char kComponentPrefix = 'f';
inline const std::string kRootKey = "p0";

inline std::string FolderKey(int32_t kind) {
  return kFolderPrefix + std::to_string(kind);
}
inline std::string ComponentKey(int32_t index) {
  return kComponentPrefix + std::to_string(index);
}

}  // namespace mdlFile
