// Whole commands run as a user runs them, for benchmarks that compare a command against others.
#pragma once

#include <string>
#include <vector>

namespace bench {

// Runs words[0] (looked up in PATH) with the rest as its arguments, its output thrown away; the seconds
// from the spawn to its end, or a negative value when it could not run or ended with a code above
// highestExit (or by a signal).
double RunCommand(const std::vector<std::string>& words, int highestExit = 0);

}  // namespace bench
