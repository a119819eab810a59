// Findings about files that a pack without --complete leaves behind.
#pragma once

#include <vector>

#include "check/check_project.h"
#include "platform/text_files.h"
#include "project/project_model.h"

namespace check {

// A not-packed warning for each existing resource file the project names.
std::vector<Finding> NotPackedFindings(const mdlFile::ProjectModel& model, platform::TextFiles& files);

}  // namespace check
