// Whole-file reads and runs of lnkinfo and of the tarvex program for the POSIX tests.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/fakes/scratch_folder_posix.h"

namespace setup_test {

namespace fs = std::filesystem;

using TempDir = fakes::Scratch;

inline std::string ReadAll(const fs::path& path) { return fakes::Scratch::ReadAll(path); }

inline void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline uint32_t Read32(const std::string& bytes, std::size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes.at(offset + i));
  return value;
}

// The Windows form of a host path made of ASCII names.
inline std::string ZPath(const fs::path& host) {
  std::string out = "Z:";
  for (const auto& part : host.relative_path()) out += "\\" + part.string();
  return out == "Z:" ? "Z:\\" : out;
}

struct LnkInfo {
  int exitCode = -1;
  std::string output;
  std::map<std::string, std::string> fields;  // "Local path" -> value
};

// Runs liblnk's lnkinfo on the file; a machine without it fails the test that asks.
inline LnkInfo ReadWithLnkinfo(const fs::path& file) {
  LnkInfo info;
  const std::string command = "lnkinfo '" + file.string() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return info;
  char buffer[4096];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) info.output += buffer;
  const int status = pclose(pipe);
  info.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream lines(info.output);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t colon = line.find(": ");
    if (colon == std::string::npos) continue;
    std::string key = line.substr(0, colon);
    key.erase(0, key.find_first_not_of("\t "));
    key.erase(key.find_last_not_of("\t ") + 1);
    info.fields[key] = line.substr(colon + 2);
  }
  return info;
}

struct RunResult {
  int exitCode = -1;
  std::string errors;
};

// Runs a program with some environment variables replaced (an empty value unsets one) in a working
// folder, optionally as the user nobody, and collects its standard error.
inline RunResult Run(const fs::path& program, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& env, const fs::path& cwd, bool asNobody) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], 2);
    close(pipeFds[0]);
    close(pipeFds[1]);
    for (const auto& [name, value] : env) {
      if (value.empty()) {
        unsetenv(name.c_str());
      } else {
        setenv(name.c_str(), value.c_str(), 1);
      }
    }
    if (chdir(cwd.c_str()) != 0) _exit(126);
    if (asNobody && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) _exit(125);
    std::vector<char*> argv;
    std::string name = program.string();
    argv.push_back(name.data());
    std::vector<std::string> copies(args);
    for (auto& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(name.c_str(), argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  RunResult result;
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
    result.errors.append(buffer, static_cast<std::size_t>(n));
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace setup_test
