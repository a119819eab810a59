// A folder's names as the host spells them, read once through one open folder handle.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace posix {

// Every name in the host folder but "." and "..", in the order the system gives them; nothing when the
// folder cannot be listed.
std::optional<std::vector<std::string>> HostNamesIn(const std::string& hostFolder);

}  // namespace posix
