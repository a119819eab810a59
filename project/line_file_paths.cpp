#include "project/line_file_paths.h"

#include "project/mdl_file.h"
#include "project/mdl_trim.h"

namespace mdlFile {

std::pair<std::string, bool> UnquotedPath(const std::string& value) {
  const std::string_view trimmed = mdlTrim::TrimBlanks(value);
  if (trimmed.size() >= 2 && trimmed.front() == '"' && trimmed.back() == '"')
    return {std::string(trimmed.substr(1, trimmed.size() - 2)), true};
  return {std::string(trimmed), false};
}

std::string LineFilePath(const ProjectModel& model, const std::string& path) {
  const bool absolute =
      (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
  return absolute ? path : ComponentFilePath(model, path);
}

}  // namespace mdlFile
