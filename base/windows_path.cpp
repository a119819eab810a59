#include "base/windows_path.h"

namespace base {

WindowsPathSplit SplitWindowsPath(std::string_view path, const LeadBytes& lead) {
  std::size_t cut = lead.none() ? path.find_last_of("\\/") : std::string_view::npos;
  // Characters are told apart only from the start: a byte may be a lead byte or a second byte.
  for (std::size_t i = 0; lead.any() && i < path.size(); ++i) {
    if (path[i] == '\\' || path[i] == '/') cut = i;
    if (StartsPair(path, i, lead)) ++i;
  }
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
