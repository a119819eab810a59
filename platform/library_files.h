// The files a project depends on, as dependency resolution looks at them: whether one exists and, for a
// library, which type library it holds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// A type library's identity, read from the library itself.
struct TypeLibIdentity {
  std::string guid;  // "{...}" in upper case
  uint16_t major = 0;
  uint16_t minor = 0;
};

struct LibraryFile {
  bool exists = false;
  std::string shown;  // the full host path of the file in UTF-8, when it exists
  std::optional<TypeLibIdentity> identity;
  std::string problem;  // why no identity was read, when the file exists but none was
};

class LibraryFiles {
 public:
  virtual ~LibraryFiles() = default;
  // Looks at the file a Windows path names (names matched without regard to case). With readLibrary,
  // reads the type library it holds: a .tlb or the TYPELIB resource of a PE file, resource
  // resourceId when not 0, else the first.
  virtual LibraryFile Look(const std::string& windowsPath, bool readLibrary, uint32_t resourceId = 0) = 0;
};

}  // namespace platform
