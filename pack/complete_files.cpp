#include "pack/complete_files.h"

#include "project/line_file_paths.h"
#include "project/mdl_trim.h"

namespace mdlFile {

CompleteFiles FindCompleteFiles(const ProjectModel& model, platform::PackFiles& files) {
  CompleteFiles complete;
  for (const auto& line : model.lines) {
    if (line.key != "resfile32" && line.key != "relateddoc") continue;
    const auto [path, quoted] = UnquotedPath(line.value);
    if (path.empty()) continue;
    const std::string full = LineFilePath(model, path);
    if (!files.Exists(full)) continue;  // a missing document is left as it is named, as other lines are
    const std::string name = mdlTrim::TextAfterLast(mdlTrim::TextAfterLast(path, '\\'), '/');
    complete.copies.emplace_back(full, name);
    complete.newValues[line.number] = quoted ? "\"" + name + "\"" : name;
  }
  return complete;
}

}  // namespace mdlFile
