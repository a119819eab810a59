#include "platform/posix/prefix_library_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "base/ascii_case.h"
#include "base/code_page_text.h"
#include "platform/errors.h"
#include "platform/posix/file_blocks.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/type_library_reader.h"

namespace posix {

std::optional<std::string> PrefixLibraryFiles::DrivePath(const std::string& windowsPath) {
  if (windowsPath.size() < 3 || windowsPath[1] != ':' || (windowsPath[2] != '\\' && windowsPath[2] != '/')) {
    return std::nullopt;
  }
  const std::string drive{base::LowerAsciiChar(windowsPath[0]), ':'};
  if (drive == "z:") return windowsPath;
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
  return root + windowsPath.substr(2);
}

std::optional<std::string> PrefixLibraryFiles::MissingFolderKey(const std::string& path) const {
  // A last name of dots only takes the folder away rather than naming a file in it: no key. Separators
  // and case go by characters: the second byte of a double-byte character may be "\\" or a letter.
  const auto lead = codePage_.LeadBytes();
  const auto back = base::FindLastCharacter(path, '\\', lead);
  const auto forward = base::FindLastCharacter(path, '/', lead);
  const auto cut = back == std::string::npos      ? forward
                   : forward == std::string::npos ? back
                                                  : std::max(back, forward);
  if (cut == std::string::npos || path.find_first_not_of(". ", cut + 1) == std::string::npos)
    return std::nullopt;
  return base::LowerText(path.substr(0, cut), lead);
}

std::optional<std::string> PrefixLibraryFiles::HostPath(const std::string& path) {
  try {
    return HostFromWindows(path, codePage_);
  } catch (const platform::FileError& error) {
    // The system's own text for a folder of the path that is not there (or a path that names none).
    if (std::string_view(error.what()) == "The system cannot find the path specified.") {
      if (auto folder = MissingFolderKey(path)) missingFolders_.insert(std::move(*folder));
    }
  }
  return std::nullopt;
}

const std::optional<TypeLibRead>* PrefixLibraryFiles::ReadLibrary(const std::string& host,
                                                                  uint32_t resourceId, bool found) {
  // Two spellings of one file (a hint and the registered path) read it once.
  const auto known = read_.find({host, resourceId});
  if (known != read_.end()) return &known->second;
  std::optional<TypeLibRead> read;
  if (auto blocks = FileBlocks::Open(host)) {
    read = ReadTypeLibrary(*blocks, resourceId);
    if (blocks->failed()) read = {std::nullopt, "the file cannot be read"};
  } else if (!found) {
    return nullptr;  // not there as spelled: left to the look through the folders
  } else if (std::error_code error; std::filesystem::is_regular_file(host, error)) {
    read = {std::nullopt, "the file cannot be read"};
  }
  return &read_.emplace(std::pair{host, resourceId}, std::move(read)).first->second;
}

platform::LibraryFile PrefixLibraryFiles::Look(const std::string& windowsPath, bool readLibrary,
                                               uint32_t resourceId) {
  std::string key = base::LowerText(windowsPath, codePage_.LeadBytes());
  const auto cached = looked_.find({key, readLibrary ? resourceId + 1 : 0});
  if (cached != looked_.end()) return cached->second;
  platform::LibraryFile file;
  auto path = DrivePath(windowsPath);
  // Hints often name files in one folder that is not there (..\..\WINDOWS\system32): once the folder is
  // known missing, nothing in it is looked for again.
  if (path && !missingFolders_.empty()) {
    if (const auto folder = MissingFolderKey(*path); folder && missingFolders_.contains(*folder))
      path.reset();
  }
  // Most paths are spelled as they are on disk: the path as spelled is tried before any look through
  // the folders, which gives that same path whenever it is there.
  std::optional<std::string> spelled;
  try {
    if (path) spelled = SpelledHostPath(*path, codePage_);
  } catch (const platform::FileError&) {
  }
  if (path && readLibrary) {
    const std::optional<TypeLibRead>* read = spelled ? ReadLibrary(*spelled, resourceId, false) : nullptr;
    std::optional<std::string> host = spelled;
    if (read == nullptr) {
      host = HostPath(*path);
      if (host) read = ReadLibrary(*host, resourceId, true);
    }
    // Read when it opened as a regular file or is one that cannot be opened; otherwise not there.
    if (read != nullptr && *read) {
      file.exists = true;
      file.shown = *host;
      file.identity = (*read)->identity;
      file.problem = (*read)->problem;
    }
  } else if (path) {
    struct stat status {};
    if (spelled && ::stat(spelled->c_str(), &status) == 0) {
      file.exists = S_ISREG(status.st_mode);
      if (file.exists) file.shown = *spelled;
    } else if (const auto host = HostPath(*path); host) {
      std::error_code error;
      file.exists = std::filesystem::is_regular_file(*host, error);
      if (file.exists) file.shown = *host;
    }
  }
  looked_.emplace(std::make_pair(std::move(key), readLibrary ? resourceId + 1 : 0), file);
  return file;
}

}  // namespace posix
