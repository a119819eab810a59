// Writing a shell link file through the shell's ShellLink object.
#pragma once

#include <cstdint>
#include <string>

#include "platform/code_page.h"
#include "platform/shell_link.h"

namespace mdlShellLnk {

// What the ShellLink object is made from, and how the link path becomes the wide string Save takes.
struct ShellLinkContext {
  platform::ShellLinkFactory& factory;
  const platform::CodePage& codePage;
};

// Writes the link file at linkPath. Empty working folder, arguments, icon path or description leave
// that property unset. Throws platform::RaisedError carrying the HRESULT of the first call that fails;
// the calls after it are not made.
void CreateShortcut(const ShellLinkContext& context, const std::string& linkPath,
                    const std::string& targetPath, const std::string& workingFolder,
                    const std::string& arguments, const std::string& iconPath, int32_t iconIndex,
                    int32_t showCommand, const std::string& description);

}  // namespace mdlShellLnk
