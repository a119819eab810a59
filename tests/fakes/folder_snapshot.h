// Every regular file under a folder with its bytes, to show that a test changed nothing in it.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace fakes {

// Keyed by the path relative to folder; symbolic links are left out (their targets count where they lie).
std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& folder);

}  // namespace fakes
