// The subcommands of tarvex-cli; each returns the process's exit status.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

inline constexpr int kExitUsage = 2;

int RunTree(const std::vector<std::string>& args);
int RunPack(const std::vector<std::string>& args);
int RunCheck(const std::vector<std::string>& args);
int RunDeps(const std::vector<std::string>& args);
int RunOrder(const std::vector<std::string>& args);

// The same commands on a group file (.vbg): every member in group order, and the group's own findings.
int RunGroupTree(const std::string& group, bool json);
int RunGroupCheck(const std::string& group, bool json, bool strict);
int RunGroupPack(const std::string& source, const std::string& target, bool complete);
int RunGroupDeps(const std::string& group, bool json, const std::optional<std::string>& winePrefix);

}  // namespace cli
