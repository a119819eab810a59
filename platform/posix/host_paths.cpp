// The Z: drive mapping between the core's Windows paths and host paths.
#include "platform/posix/host_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "base/code_page_text.h"
#include "platform/errors.h"
#include "platform/posix/folder_listing.h"

namespace posix {

namespace {

// The longest path Windows opens at all; anything longer is refused before any copy of it is made.
constexpr std::size_t kLongestPath = 32767;

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsForbidden(unsigned char c) {
  return c < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*' || c == ':';
}

std::string CurrentFolder() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return "/";
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

// The host name in folder that matches name (code-page bytes) case-insensitively, first in byte order.
std::optional<std::string> FindFolded(const std::string& folder, const std::string& name,
                                      const platform::CodePage& codePage) {
  // Whatever part of the folder could be read is searched.
  const FolderListing listing = FolderListing::Read(folder, codePage);
  const std::string* found = listing.FindFolded(name);
  if (found == nullptr) return std::nullopt;
  return *found;
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

}  // namespace

std::optional<std::string> WindowsFromHost(const std::string& hostPath, const platform::CodePage& codePage) {
  std::string out = "Z:";
  std::size_t i = 0;
  while (i < hostPath.size()) {
    while (i < hostPath.size() && hostPath[i] == '/') ++i;
    if (i == hostPath.size()) break;
    const std::size_t end = std::min(hostPath.find('/', i), hostPath.size());
    const auto name = codePage.FromUtf8(std::string_view(hostPath).substr(i, end - i));
    if (!name) return std::nullopt;
    out += "\\" + *name;
    i = end;
  }
  if (out == "Z:") out += "\\";
  return out;
}

std::vector<std::string> WindowsNames(const std::string& windowsPath, const std::bitset<256>& lead) {
  if (windowsPath.size() > kLongestPath) throw platform::FileError(windowsPath, kTooLongText);
  std::string_view rest = windowsPath;
  if (rest.size() >= 2 && rest[1] == ':') {
    if (rest[0] != 'Z' && rest[0] != 'z') throw platform::FileError(windowsPath, kNoPathText);
    rest.remove_prefix(2);
  } else if (rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
    throw platform::FileError(windowsPath, kNoPathText);  // network paths are not part of the Z: drive
  }
  // Where each name ends: at a separator that is a character of its own.
  std::vector<char> separator(rest.size(), 0);
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (base::StartsPair(rest, i, lead)) {
      ++i;
      continue;
    }
    if (IsForbidden(static_cast<unsigned char>(rest[i])))
      throw platform::FileError(windowsPath, kBadPathText);
    separator[i] = IsSeparator(rest[i]);
  }
  std::vector<std::string> names;
  std::size_t i = 0;
  while (i < rest.size()) {
    while (i < rest.size() && separator[i]) ++i;
    if (i == rest.size()) break;
    std::size_t end = i;
    while (end < rest.size() && !separator[end]) ++end;
    std::string name(rest.substr(i, end - i));
    i = end;
    if (name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();  // ".." at the root stays at the root
      continue;
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    if (name.empty()) continue;
    names.push_back(std::move(name));
  }
  return names;
}

namespace {

std::vector<std::string> AbsoluteNames(const std::string& windowsPath, const platform::CodePage& codePage) {
  if (windowsPath.size() > kLongestPath) throw platform::FileError(windowsPath, kTooLongText);
  const bool absolute = (windowsPath.size() >= 2 && windowsPath[1] == ':') ||
                        (!windowsPath.empty() && IsSeparator(windowsPath[0]));
  std::string full = windowsPath;
  if (!absolute) {
    // A relative path starts from the current folder, as the process sees it.
    const auto current = WindowsFromHost(CurrentFolder(), codePage);
    if (!current) throw platform::FileError(windowsPath, kNoPathText);
    full = *current + "\\" + windowsPath;
  }
  return WindowsNames(full, codePage.LeadBytes());
}

std::string SpelledFrom(const std::vector<std::string>& names, const platform::CodePage& codePage) {
  std::string whole;
  for (const auto& name : names) whole += "/" + codePage.ToUtf8(name);
  if (whole.empty()) whole = "/";
  return whole;
}

}  // namespace

std::string SpelledHostPath(const std::string& windowsPath, const platform::CodePage& codePage) {
  return SpelledFrom(AbsoluteNames(windowsPath, codePage), codePage);
}

std::string HostFromWindows(const std::string& windowsPath, const platform::CodePage& codePage,
                            bool allowMissingLeaf) {
  const std::vector<std::string> names = AbsoluteNames(windowsPath, codePage);
  // Most paths are spelled as they are on disk: one look at the whole path settles those.
  const std::string whole = SpelledFrom(names, codePage);
  struct stat wholeStat {};
  if (lstat(whole.c_str(), &wholeStat) == 0) return whole;
  std::string folder = "/";
  for (std::size_t k = 0; k < names.size(); ++k) {
    const bool last = k + 1 == names.size();
    const std::string exact = Join(folder, codePage.ToUtf8(names[k]));
    struct stat st {};
    if (lstat(exact.c_str(), &st) == 0) {
      folder = exact;
      continue;
    }
    if (const auto found = FindFolded(folder, names[k], codePage)) {
      folder = Join(folder, *found);
      continue;
    }
    if (last && allowMissingLeaf) return exact;
    throw platform::FileError(windowsPath, last ? kNoFileText : kNoPathText);
  }
  return folder;
}

}  // namespace posix
