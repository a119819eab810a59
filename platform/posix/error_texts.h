// Why a file operation failed on a POSIX host, in one place: the system's own text for an errno, and
// for what the Z: mapping and the file layer refuse themselves, the texts Windows gives for the same
// failure, so that a message reads the same whichever host ran.
#pragma once

#include <string>

namespace posix {

inline constexpr const char* kNoFileText = "The system cannot find the file specified.";
inline constexpr const char* kNoPathText = "The system cannot find the path specified.";
inline constexpr const char* kBadPathText =
    "The filename, directory name, or volume label syntax is incorrect.";
inline constexpr const char* kTooLongText = "The filename or extension is too long.";
inline constexpr const char* kInUseText =
    "The process cannot access the file because it is being used by another process.";
inline constexpr const char* kNotRegularText = "Not a regular file";

// The reason text of an errno value, for FileError.
std::string SystemReason(int error);

}  // namespace posix
