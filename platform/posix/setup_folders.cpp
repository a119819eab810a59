// The XDG programs folders, the absent registry and the running program's path, in Z: form.
#include "platform/posix/setup_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "base/windows_path.h"
#include "platform/posix/host_paths.h"
#include "platform/shell_link.h"

namespace posix {
namespace {

constexpr int32_t kErrorFileNotFound = 2;

// An environment variable's value when it is an absolute path; relative ones are to be ignored.
std::string AbsoluteFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return "";
  return value;
}

std::string FirstDataDir() {
  const char* value = std::getenv("XDG_DATA_DIRS");
  if (value == nullptr || value[0] == '\0') return "/usr/local/share";
  const std::string list = value;
  const std::string first = list.substr(0, list.find(':'));
  return first.empty() || first[0] != '/' ? "" : first;
}

std::string UserDataHome() {
  const std::string dataHome = AbsoluteFromEnvironment("XDG_DATA_HOME");
  if (!dataHome.empty()) return dataHome;
  const std::string home = AbsoluteFromEnvironment("HOME");
  return home.empty() ? "" : home + "/.local/share";
}

bool IsFolder(const std::string& hostPath) {
  struct stat st {};
  return stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string XdgProgramsFolder(int32_t folder) {
  std::string base;
  if (folder == platform::kCsidlCommonPrograms) {
    base = FirstDataDir();
  } else if (folder == platform::kCsidlPrograms) {
    base = UserDataHome();
  }
  return base.empty() ? "" : base + "/applications";
}

std::optional<int32_t> XdgShellFolders::GetFolderPath(int32_t folder, uint32_t,
                                                      platform::PathBuffer& buffer) {
  const std::string host = XdgProgramsFolder(folder);
  if (host.empty() || !IsFolder(host)) return platform::kEFail;
  const auto windows = WindowsFromHost(host, codePage_);
  // The path and its NUL must fit the buffer, as the shell's would.
  if (!windows || windows->size() >= buffer.size()) return platform::kEFail;
  std::fill(std::copy(windows->begin(), windows->end(), buffer.begin()), buffer.end(), '\0');
  return platform::kSOk;
}

std::unique_ptr<platform::RegistryKey> NoRegistry::OpenKey(uint32_t, const std::string&, uint32_t,
                                                           int32_t& status) {
  status = kErrorFileNotFound;
  return nullptr;
}

RunningProgramFile::RunningProgramFile(const platform::CodePage& codePage) {
  std::vector<char> buffer(4096);
  while (true) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return;
    if (static_cast<std::size_t>(length) < buffer.size()) {
      const auto windows =
          WindowsFromHost(std::string(buffer.data(), static_cast<std::size_t>(length)), codePage);
      if (windows) base::SplitProgramPath(*windows, folder_, baseName_);
      return;
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace posix
