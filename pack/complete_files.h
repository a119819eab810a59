// What `pack --complete` adds to a pack: the project's resource file and related documents that exist,
// copied beside the new project file under their bare names, their lines naming them there.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/pack_files.h"
#include "project/project_model.h"

namespace mdlFile {

struct CompleteFiles {
  std::vector<std::pair<std::string, std::string>> copies;  // the source's full path, the bare name
  std::map<int64_t, std::string> newValues;                 // by line: the value naming the bare name
};

// The ResFile32 and RelatedDoc lines of the model whose files exist. A value in double quotes stays in
// them; a path is relative to the project file's folder unless absolute.
CompleteFiles FindCompleteFiles(const ProjectModel& model, platform::PackFiles& files);

}  // namespace mdlFile
