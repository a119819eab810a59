// The program tarvex on POSIX: its arguments become the argument text, joined with single blanks.
#include <iostream>
#include <string>

#include "app/mdl_main.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/setup_folders.h"
#include "platform/posix/setup_probe_files.h"
#include "platform/posix/setup_random.h"
#include "platform/posix/shell_link_file.h"
#include "program/main_window.h"

namespace {

std::string ArgumentText(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const auto codePage = posix::SystemCodePage();
    posix::XdgShellFolders shellFolders(*codePage);
    posix::NoRegistry registry;
    const posix::RunningProgramFile programFile(*codePage);
    posix::PosixProbeFiles probeFiles(*codePage);
    posix::TimeSeededRandom random;
    posix::ShellLinkFiles shellLinks(*codePage);
    SetupPlatform platform{shellFolders, registry, programFile, probeFiles, random, shellLinks, *codePage};
    return mdlMain::Main(
        ArgumentText(argc, argv), platform,
        [&](const std::optional<std::string>& projectFile) {
          return ShowMainWindow(argc, argv, projectFile);
        },
        std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "tarvex: " << error.what() << '\n';
    return 1;
  }
}
