#include "check/not_packed.h"

#include "platform/errors.h"
#include "project/line_file_paths.h"

namespace check {

std::vector<Finding> NotPackedFindings(const mdlFile::ProjectModel& model, platform::TextFiles& files) {
  std::vector<Finding> findings;
  for (const auto& line : model.lines) {
    if (line.key != "resfile32") continue;
    const std::string path = mdlFile::UnquotedPath(line.value).first;
    if (path.empty()) continue;
    try {
      files.OpenInput(mdlFile::LineFilePath(model, path));
    } catch (const platform::FileError&) {
      continue;  // only a file that is there can be left behind
    }
    findings.push_back({model.filePath, line.number, Severity::Warning, "not-packed",
                        "the resource file '" + path +
                            "' is not copied by a pack, so the packed project loses its resources: pack with "
                            "'tarvex-cli pack --complete'"});
  }
  return findings;
}

}  // namespace check
