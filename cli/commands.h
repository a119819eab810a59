// The subcommands of tarvex-cli; each returns the process's exit status.
#pragma once

#include <string>
#include <vector>

namespace cli {

inline constexpr int kExitUsage = 2;

int RunTree(const std::vector<std::string>& args);
int RunPack(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunDeps(const std::vector<std::string>& args);

}  // namespace cli
