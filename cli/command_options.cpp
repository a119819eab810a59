#include "cli/command_options.h"

#include <algorithm>
#include <iostream>

#include "cli/commands.h"

namespace cli {

CommandOptions ReadCommandOptions(const std::vector<std::string>& args, std::string_view command,
                                  std::initializer_list<std::string_view> known, std::string_view help) {
  CommandOptions options;
  for (const auto& arg : args) {
    if (std::find(known.begin(), known.end(), arg) != known.end()) {
      options.switches.insert(arg);
    } else if (arg == "--help" || arg == "-h") {
      std::cout << help;
      options.exit = 0;
      return options;
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      std::cerr << "tarvex-cli " << command << ": unknown option '" << arg << "'\n";
      options.exit = kExitUsage;
      return options;
    } else {
      options.operands.push_back(arg);
    }
  }
  return options;
}

}  // namespace cli
