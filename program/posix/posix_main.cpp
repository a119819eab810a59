// The program tarvex on POSIX: its arguments become the argument text, joined with single blanks.
#include <iostream>
#include <string>

#include "app/mdl_main.h"
#include "program/posix/main_window.h"
#include "program/posix/posix_host.h"
#include "tarvex_version_line.h"

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
  // The one command line that is neither a switch nor a project file.
  if (argc == 2 && std::string(argv[1]) == "--version") {
    std::cout << TARVEX_VERSION_LINE << '\n';
    return 0;
  }
  try {
    posix::Host host;
    SetupPlatform platform = host.Setup();
    return mdlMain::Main(
        ArgumentText(argc, argv), platform,
        [&](const std::optional<std::string>& projectFile) {
          return ShowMainWindow(argc, argv, host, projectFile);
        },
        std::cerr);
  } catch (const std::exception& error) {
    std::cerr << "tarvex: " << error.what() << '\n';
    return 1;
  }
}
