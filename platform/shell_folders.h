// The shell's special folders, the registry's fallback for them, and where the running program lives.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

inline constexpr std::size_t kMaxPath = 260;
using PathBuffer = std::array<char, kMaxPath>;

inline constexpr int32_t kCsidlPrograms = 2;
inline constexpr int32_t kCsidlCommonPrograms = 23;
inline constexpr uint32_t kShgfpTypeCurrent = 0;

// The folder lookup of shell32.
class ShellFolders {
 public:
  virtual ~ShellFolders() = default;
  // SHGetFolderPathA called as (no window, folder, no token, flags, buffer): leaves the folder's path,
  // NUL-terminated, in the buffer and returns its HRESULT; empty when the entry point is missing and no call
  // was made.
  virtual std::optional<int32_t> GetFolderPath(int32_t folder, uint32_t flags, PathBuffer& buffer) = 0;
};

inline constexpr uint32_t kHkeyCurrentUser = 0x80000001u;
inline constexpr uint32_t kKeyRead = 0x20019u;

// One open registry key; destroying it closes it (RegCloseKey).
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // RegQueryValueExA: reads the named value into the buffer, at most size bytes; returns the status.
  virtual int32_t QueryValue(const std::string& name, PathBuffer& buffer, uint32_t size) = 0;
};

// The registry of advapi32 (RegOpenKeyExA).
class Registry {
 public:
  virtual ~Registry() = default;
  // The opened key, or null with the status in status when it cannot be opened.
  virtual std::unique_ptr<RegistryKey> OpenKey(uint32_t root, const std::string& subKey, uint32_t access,
                                               int32_t& status) = 0;
};

// The running program file, as Windows paths.
class ProgramFile {
 public:
  virtual ~ProgramFile() = default;
  // The folder holding it, without a trailing backslash except at a drive root ("C:\").
  virtual std::string Folder() const = 0;
  // Its file name without the extension.
  virtual std::string BaseName() const = 0;
};

}  // namespace platform
