#include "cli/command_session.h"

#include <algorithm>

#include "project/mdl_trim.h"

namespace cli {

namespace {

bool AllAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

const char* const kCodePageHint = "TARVEX_CODEPAGE names the code page the project's names are written in";

}  // namespace

std::string ReadFailureText(const std::string& argument, const std::string& projectPath,
                            const mdlFile::ReadFailure& failure, const platform::CodePage& codePage) {
  if (failure.line == 0)
    return argument + ": error: cannot read: " + codePage.ToUtf8(failure.reason) + " [unreadable]";
  // Components are named relative to the project's folder; the name is shown as the line writes it.
  const std::string folder = mdlTrim::TextBeforeLast(projectPath, '\\') + "\\";
  const std::string written =
      failure.file.starts_with(folder) ? failure.file.substr(folder.size()) : failure.file;
  std::string text = argument + ":" + std::to_string(failure.line) + ": error: cannot read '" +
                     codePage.ToUtf8(written) + "': " + codePage.ToUtf8(failure.reason);
  // Names outside ASCII read in another code page than the one they were written in name no file.
  if (!AllAscii(written)) text += std::string(" (") + kCodePageHint + ")";
  return text + " [unreadable]";
}

std::string PathOutsideCodePageText(const std::string& argument) {
  return argument + ": error: the path cannot be written in the code page in use; " + kCodePageHint +
         " [unreadable]";
}

bool CommandSession::OpenProject(const std::string& argument, Reasons reasons) {
  const auto path = WindowsPathOf(argument, host_->codePage());
  if (!path) {
    // A path the code page cannot spell cannot be opened by the project's own rules either.
    if (reasons == Reasons::Said) std::cerr << PathOutsideCodePageText(argument) << '\n';
    messages_.Show("Error.", platform::MB_OK | platform::MB_ICONERROR, mdlFile::kAppTitle);
    return false;
  }
  mdlFile::ReaderContext context{host_->files(), pointer_, messages_, tree_, saveAs_};
  if (reasons == Reasons::Said) {
    context.onFailure = [&](const mdlFile::ReadFailure& failure) {
      std::cerr << ReadFailureText(argument, *path, failure, codePage()) << '\n';
    };
  }
  return mdlFile::ReadProject(*path, context);
}

bool CommandSession::OpenProjectAt(const std::string& path, platform::TextFiles& files) {
  const mdlFile::ReaderContext context{files, pointer_, messages_, tree_, saveAs_};
  return mdlFile::ReadProject(path, context);
}

}  // namespace cli
