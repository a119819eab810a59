// Splitting a Windows path into its folder and its last name. "/" separates as "\" does, as Windows
// takes either.
#pragma once

#include <string>
#include <string_view>

#include "base/code_page_text.h"

namespace base {

struct WindowsPathSplit {
  std::string_view folder;  // before the last separator; empty when there is none
  std::string_view name;    // after it; the whole path when there is none
};
// With the lead bytes of a double-byte code page, a "\" that is the second byte of a character splits
// nothing.
WindowsPathSplit SplitWindowsPath(std::string_view path, const LeadBytes& lead = {});

// Splits the Windows path of a program file into its folder (no trailing "\" except at a drive root,
// "C:\") and its file name without the extension. A name whose only dot is its first character is all
// name: dropping that would leave a bare ".exe" where the program's path is made from the two.
void SplitProgramPath(const std::string& path, std::string& folder, std::string& baseName);

}  // namespace base
