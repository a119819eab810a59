// The binary shell link (.lnk) format: a header, the target as link info, and the string data.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace posix {

// What a shell link holds; strings are code-page bytes, written as such (the link is not Unicode).
// An empty string leaves its part of the link out.
struct ShellLinkData {
  std::string targetPath;  // an absolute Windows path, written as the link info's local base path
  std::string workingDirectory;
  std::string arguments;
  std::string description;
  std::string iconLocation;
  int32_t iconIndex = 0;
  int32_t showCommand = 1;  // SW_SHOWNORMAL
  // What the target was like when last seen; zero when it was not found.
  uint32_t fileAttributes = 0;
  uint64_t writeTime = 0;  // FILETIME: 100 ns units since 1601
  uint32_t fileSize = 0;
};

// The header's size, which is also its first field.
inline constexpr std::size_t kLnkHeaderSize = 0x4C;

// The bytes of the link file; empty when a string is too long for the format (65535 characters).
std::optional<std::string> ShellLinkBytes(const ShellLinkData& link);

}  // namespace posix
