#include "app/mdl_main.h"

#include <cstdio>

#include "app/mdl_param.h"
#include "project/mdl_trim.h"
#include "setup/mdl_path.h"
#include "setup/mdl_shell_lnk.h"

namespace mdlMain {

void InstallShortcut(SetupPlatform& platform) {
  // Each folder function is asked as often and in the order the shortcut's values are needed.
  std::string folder;
  if (mdlPath::IsFolderWritable(mdlPath::CommonProgramsFolder(platform.shellFolders), platform.probeFiles,
                                platform.random) == -1) {
    folder = mdlPath::CommonProgramsFolder(platform.shellFolders);
  } else {
    folder = mdlPath::UserProgramsFolder(platform.shellFolders, platform.registry);
  }
  const std::string target = mdlPath::AppExePath(platform.programFile);
  const std::string workingFolder = mdlPath::AppFolder(platform.programFile);
  const std::string icon = mdlPath::AppExePath(platform.programFile);
  // The folder already ends in "\" (or is empty: then the link lands in the current folder).
  mdlShellLnk::CreateShortcut({platform.shellLinks, platform.codePage}, folder + kShortcutName, target,
                              workingFolder, "", icon, 0, platform::kSwShow, kShortcutDescription);
}

std::string SetupFailureText(const platform::RaisedError& error) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(static_cast<uint32_t>(error.Number())));
  return std::string("Setup failed. ") + hex;
}

std::optional<std::string> ProjectArgument(const std::string& argumentText) {
  std::string_view text = mdlTrim::TrimBlanks(argumentText);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  if (text.empty() || text.find('"') != std::string_view::npos || text.find(" /") != std::string_view::npos) {
    return std::nullopt;
  }
  const bool projectFile = text.size() > 4 && mdlTrim::LowerAscii(text.substr(text.size() - 4)) == ".vbp";
  if (text.front() == '/' && !projectFile) return std::nullopt;
  return std::string(text);
}

int Main(const std::string& argumentText, SetupPlatform& platform, const ShowMainWindow& showMainWindow,
         std::ostream& errors) {
  mdlParam::ParseSwitches(argumentText);
  if (mdlParam::HasSwitch("Setup") != -1) return showMainWindow(ProjectArgument(argumentText));
  try {
    InstallShortcut(platform);
  } catch (const platform::RaisedError& error) {
    // The program ends here either way; no window is shown.
    errors << SetupFailureText(error) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace mdlMain
