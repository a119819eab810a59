#include "cli/command_session.h"

#include "project/mdl_file.h"

namespace cli {

bool CommandSession::OpenProject(const std::string& argument) {
  const auto path = WindowsPathOf(argument, host_->codePage());
  if (!path) {
    // A path the code page cannot spell cannot be opened by the project's own rules either.
    messages_.Show("Error.", platform::MB_OK | platform::MB_ICONERROR, mdlFile::kAppTitle);
    return false;
  }
  return OpenProjectAt(*path, host_->files());
}

bool CommandSession::OpenProjectAt(const std::string& path, platform::TextFiles& files) {
  const mdlFile::ReaderContext context{files, pointer_, messages_, tree_, saveAs_};
  return mdlFile::ReadProject(path, context);
}

}  // namespace cli
