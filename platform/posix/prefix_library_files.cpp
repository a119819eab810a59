#include "platform/posix/prefix_library_files.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/errors.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/type_library_reader.h"

namespace posix {

namespace {

// Larger files are not type libraries a project names.
constexpr std::uintmax_t kLargest = 256u << 20;

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
      const auto size = std::filesystem::file_size(*host, error);
      std::ifstream in(*host, std::ios::binary);
      if (error || !in) {
        file.problem = "the file cannot be read";
      } else if (size > kLargest) {
        file.problem = "the file is too large to be a type library";
      } else {
        std::string bytes(size, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(size));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        auto read = ReadTypeLibrary(bytes, resourceId);
        file.identity = std::move(read.identity);
        file.problem = std::move(read.problem);
      }
    }
  }
  looked_.emplace(std::make_pair(std::move(key), readLibrary ? resourceId + 1 : 0), file);
  return file;
}

}  // namespace posix
