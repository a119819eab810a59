// Windows paths on a POSIX host: drive Z: is the host's root, names are looked up without regard to case.
#pragma once

#include <bitset>
#include <optional>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/posix/error_texts.h"  // the reasons its errors give, SystemReason among them

namespace posix {

// The Windows form of an absolute host path (UTF-8): /home/ann/x.vbp gives Z:\home\ann\x.vbp in the
// code page. Empty when a name cannot be written in the code page.
std::optional<std::string> WindowsFromHost(const std::string& hostPath, const platform::CodePage& codePage);

// The names of a Windows path after Windows' own clean-up: "\" and "/" separate, empty names and "."
// vanish, ".." takes the previous name away, trailing dots and blanks of a name are dropped. A path
// without a drive is taken relative to the current folder. Throws platform::FileError for a path
// Windows would reject (another drive than Z:, a ":" after the drive, control characters, <>"|?*). The
// second byte of a two-byte character (after one of lead) is part of its name, whatever its value.
std::vector<std::string> WindowsNames(const std::string& windowsPath, const std::bitset<256>& lead = {});

// The host path a Windows path names. Each name is matched exactly or, failing that, without regard
// to ASCII case (the first match in byte order). With allowMissingLeaf, a last name that matches
// nothing is kept as written, so the path names a file to be created. Throws platform::FileError
// when the path is rejected or a name cannot be found.
std::string HostFromWindows(const std::string& windowsPath, const platform::CodePage& codePage,
                            bool allowMissingLeaf = false);

// The host path of a Windows path taken as spelled, each name converted as it is: what
// HostFromWindows returns whenever that path exists. Throws platform::FileError as HostFromWindows does
// for a rejected path.
std::string SpelledHostPath(const std::string& windowsPath, const platform::CodePage& codePage);

}  // namespace posix
