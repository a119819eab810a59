// The command line of a command that takes switches and operands: tree, check and order read theirs alike.
#pragma once

#include <initializer_list>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct CommandOptions {
  std::set<std::string> switches;  // those of the known ones given
  std::vector<std::string> operands;
  std::optional<int> exit;  // set when the command ends here: 0 after --help, the usage error's code
  bool Has(std::string_view name) const { return switches.count(std::string(name)) != 0; }
};

// Reads args in order: a known switch is noted, --help or -h prints help on standard output and ends the
// command with 0, any other word starting with "-" (but "-" itself) is an unknown option, said on
// standard error as "tarvex-cli COMMAND: unknown option 'X'", ending the command with the usage error's
// code; every other word is an operand.
CommandOptions ReadCommandOptions(const std::vector<std::string>& args, std::string_view command,
                                  std::initializer_list<std::string_view> known, std::string_view help);

}  // namespace cli
