// The program tarvex on POSIX: its arguments become the argument text, joined with single blanks.
#include <iostream>
#include <string>

#include "app/mdl_main.h"
#include "program/posix/posix_host.h"
#include "program/posix/main_window.h"

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
