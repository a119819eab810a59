#include "base/windows_path.h"

namespace base {

WindowsPathSplit SplitWindowsPath(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string_view::npos) return {{}, path};
  return {path.substr(0, cut), path.substr(cut + 1)};
}

void SplitProgramPath(const std::string& path, std::string& folder, std::string& baseName) {
  const auto [before, name] = SplitWindowsPath(path);
  folder = before;
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  const std::size_t dot = name.rfind('.');
  baseName = dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace base
