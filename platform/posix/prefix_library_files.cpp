#include "platform/posix/prefix_library_files.h"

#include <algorithm>
#include <filesystem>

#include "base/code_page_text.h"
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
  // Hints often name files in one folder that is not there (..\..\WINDOWS\system32): once the folder is
  // known missing, nothing in it is looked for again. A last name of dots only takes the folder away
  // rather than naming a file in it, so it is left to the full look.
  // Separators and case go by characters: the second byte of a double-byte character may be "\" or a letter.
  const auto lead = codePage_.LeadBytes();
  const auto back = base::FindLastCharacter(path, '\\', lead);
  const auto forward = base::FindLastCharacter(path, '/', lead);
  const auto cut = back == std::string::npos ? forward
                   : forward == std::string::npos ? back
                                                  : std::max(back, forward);
  const std::string leaf = path.substr(cut + 1);
  const bool plainLeaf = leaf.find_first_not_of(". ") != std::string::npos;
  std::string folder = base::LowerText(path.substr(0, cut), lead);
  if (plainLeaf && missingFolders_.contains(folder)) return std::nullopt;
  try {
    return HostFromWindows(path, codePage_);
  } catch (const platform::FileError&) {
  }
  if (plainLeaf && folder.size() > 2) {
    try {
      HostFromWindows(path.substr(0, cut), codePage_);
    } catch (const platform::FileError&) {
      missingFolders_.insert(std::move(folder));
    }
  }
  return std::nullopt;
}

platform::LibraryFile PrefixLibraryFiles::Look(const std::string& windowsPath, bool readLibrary,
                                               uint32_t resourceId) {
  std::string key = base::LowerText(windowsPath, codePage_.LeadBytes());
  const auto cached = looked_.find({key, readLibrary ? resourceId + 1 : 0});
  if (cached != looked_.end()) return cached->second;
  platform::LibraryFile file;
  const auto host = HostPath(windowsPath);
  if (host && readLibrary) {
    // Two spellings of one file (a hint and the registered path) read it once.
    auto known = read_.find({*host, resourceId});
    if (known == read_.end()) {
      std::optional<TypeLibRead> read;
      if (auto blocks = FileBlocks::Open(*host)) {
        read = ReadTypeLibrary(*blocks, resourceId);
        if (blocks->failed()) read = {std::nullopt, "the file cannot be read"};
      } else if (std::error_code error; std::filesystem::is_regular_file(*host, error)) {
        read = {std::nullopt, "the file cannot be read"};
      }
      known = read_.emplace(std::pair{*host, resourceId}, std::move(read)).first;
    }
    // Read when it opened as a regular file or is one that cannot be opened; otherwise not there.
    if (known->second) {
      file.exists = true;
      file.shown = *host;
      file.identity = known->second->identity;
      file.problem = known->second->problem;
    }
  } else if (std::error_code error; host && std::filesystem::is_regular_file(*host, error)) {
    file.exists = true;
    file.shown = *host;
  }
  looked_.emplace(std::make_pair(std::move(key), readLibrary ? resourceId + 1 : 0), file);
  return file;
}

}  // namespace posix
