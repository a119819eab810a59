// The registry and the library files as dependency resolution asks them, on Windows: the real
// registry's classes, and each file's type library read by the system's own loader.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/library_files.h"
#include "platform/registry.h"

namespace win32 {

// TypeLib keys of HKEY_CURRENT_USER\Software\Classes and HKEY_LOCAL_MACHINE\Software\Classes, read in the
// 64-bit view where there is one (TypeLib is shared between the views on Windows, and a 32-bit build then
// sees what a 64-bit one sees).
class Win32TypeLibRegistry : public platform::TypeLibRegistry {
 public:
  std::vector<platform::TypeLibRegistration> Registrations(const std::string& guid) override;
  std::string Source() const override { return "the registry"; }
};

// Paths in the ANSI code page; a type library read with LoadTypeLibEx(REGKIND_NONE), so that nothing is
// registered by looking.
class Win32LibraryFiles : public platform::LibraryFiles {
 public:
  platform::LibraryFile Look(const std::string& windowsPath, bool readLibrary, uint32_t resourceId) override;

 private:
  std::map<std::pair<std::string, uint32_t>, platform::LibraryFile> looked_;
};

}  // namespace win32
