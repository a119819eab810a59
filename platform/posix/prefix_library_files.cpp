#include "platform/posix/prefix_library_files.h"

#include <filesystem>

#include "platform/errors.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/file_blocks.h"
#include "platform/posix/type_library_reader.h"

namespace posix {

namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::optional<std::string> PrefixLibraryFiles::HostPath(const std::string& windowsPath) {
  if (windowsPath.size() < 3 || windowsPath[1] != ':' || (windowsPath[2] != '\\' && windowsPath[2] != '/')) {
    return std::nullopt;
  }
  std::string path = windowsPath;
  const std::string drive{Lower(path[0]), ':'};
  if (drive != "z:") {
    // Another drive is where the prefix's link for it leads, written as a Z: path.
    auto known = drives_.find(drive);
    if (known == drives_.end()) {
      std::optional<std::string> root;
      if (prefix_) {
        std::error_code error;
        const auto target =
            std::filesystem::canonical(std::filesystem::path(*prefix_) / "dosdevices" / drive, error);
        if (!error) root = WindowsFromHost(target.string(), codePage_);
      }
      known = drives_.emplace(drive, root).first;
    }
    if (!known->second) return std::nullopt;
    std::string root = *known->second;
    while (!root.empty() && root.back() == '\\') root.pop_back();
    path = root + path.substr(2);
  }
  try {
    return HostFromWindows(path, codePage_);
  } catch (const platform::FileError&) {
    return std::nullopt;
  }
}

platform::LibraryFile PrefixLibraryFiles::Look(const std::string& windowsPath, bool readLibrary,
                                               uint32_t resourceId) {
  std::string key = windowsPath;
  for (char& c : key) c = Lower(c);
  const auto cached = looked_.find({key, readLibrary ? resourceId + 1 : 0});
  if (cached != looked_.end()) return cached->second;
  platform::LibraryFile file;
  const auto host = HostPath(windowsPath);
  std::error_code error;
  if (host && std::filesystem::is_regular_file(*host, error)) {
    file.exists = true;
    file.shown = *host;
    if (readLibrary) {
      // Two spellings of one file (a hint and the registered path) read it once.
      auto known = read_.find({*host, resourceId});
      if (known == read_.end()) {
        TypeLibRead read{std::nullopt, "the file cannot be read"};
        if (auto blocks = FileBlocks::Open(*host)) {
          read = ReadTypeLibrary(*blocks, resourceId);
          if (blocks->failed()) read = {std::nullopt, "the file cannot be read"};
        }
        known = read_.emplace(std::pair{*host, resourceId}, std::move(read)).first;
      }
      file.identity = known->second.identity;
      file.problem = known->second.problem;
    }
  }
  looked_.emplace(std::make_pair(std::move(key), readLibrary ? resourceId + 1 : 0), file);
  return file;
}

}  // namespace posix
