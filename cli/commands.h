// The subcommands of tarvex-cli; each returns the process's exit status.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

inline constexpr int kExitUsage = 2;
// A pack from the command line copies on this many threads at most: most of a copy's time is the file
// system making its new file's name, and four keep two processors busy while each waits.
inline constexpr unsigned kPackCopyThreads = 4;

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
