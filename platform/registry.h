// The registry as dependency resolution asks it: every registration of one type library.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// One TypeLib\{GUID}\<major>.<minor>\<lcid> key of the classes root.
struct TypeLibRegistration {
  uint16_t major = 0;
  uint16_t minor = 0;
  uint32_t lcid = 0;
  std::optional<std::string> win32;  // the default value of the win32 key, a Windows path
  std::optional<std::string> win64;
  bool user = false;  // from the user's classes (HKEY_CURRENT_USER\Software\Classes), else the machine's
};

class TypeLibRegistry {
 public:
  virtual ~TypeLibRegistry() = default;
  // Every registration of the library, the machine's and the user's. guid is "{...}" in any case.
  virtual std::vector<TypeLibRegistration> Registrations(const std::string& guid) = 0;
  // Where the answers come from, for the text of a status ("the Wine prefix /home/ann/.wine").
  virtual std::string Source() const = 0;
};

}  // namespace platform
