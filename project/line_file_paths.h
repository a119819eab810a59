// Files named by a project file's other lines (ResFile32, RelatedDoc, project references): their paths
// as the lines write them.
#pragma once

#include <string>
#include <utility>

#include "project/project_model.h"

namespace mdlFile {

// The path a line's value names, blanks around it and one pair of double quotes removed; whether it was
// quoted.
std::pair<std::string, bool> UnquotedPath(const std::string& value);

// The full path of a file a line names: relative to the project file's folder unless absolute.
std::string LineFilePath(const ProjectModel& model, const std::string& path);

}  // namespace mdlFile
