// The text buffers the dialog methods hand to the system. Each std::string's own terminating NUL is the
// extra NUL that ends a converted text, so data() is exactly what the system receives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cmndlg {

inline constexpr uint32_t kFileBufferLength = 260;
inline constexpr uint32_t kFileTitleBufferLength = 260;
inline constexpr uint32_t kCustomFilterLength = 1024;

// text followed by one NUL.
std::string NulEnded(std::string_view text);
// filter with every "|" turned into NUL, and one NUL more.
std::string FilterList(std::string_view filter);
// fileName, then NULs up to 260 characters. Raises kInvalidArgument (5) when fileName is longer than 259.
std::string FileBuffer(std::string_view fileName);
// The buffer's text up to its first NUL (all of it when there is none).
std::string TextBeforeNul(std::string_view buffer);

}  // namespace cmndlg
