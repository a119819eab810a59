#include "bench/run_command.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>

extern char** environ;

namespace bench {

double RunCommand(const std::vector<std::string>& words, int highestExit) {
  std::vector<std::string> copies = words;
  std::vector<char*> argv;
  for (auto& word : copies) argv.push_back(word.data());
  argv.push_back(nullptr);
  // What a command prints is not what is measured: a terminal or a pipe would add its own cost.
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int status = -1;
  const bool ran = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
                   ::waitpid(pid, &status, 0) >= 0;
  const auto end = std::chrono::steady_clock::now();
  ::posix_spawn_file_actions_destroy(&actions);
  if (!ran || !WIFEXITED(status) || WEXITSTATUS(status) > highestExit) return -1;
  return std::chrono::duration<double>(end - start).count();
}

}  // namespace bench
