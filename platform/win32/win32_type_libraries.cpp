#include "platform/win32/win32_type_libraries.h"

#include "base/ascii_case.h"
#include "base/hex_number.h"
#include "platform/win32/windows_api.h"

#include <oleauto.h>

#include <cstdio>
#include <optional>

namespace win32 {

namespace {

class Key {
 public:
  Key(HKEY parent, const std::string& path) {
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key_) != ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~Key() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  explicit operator bool() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

  std::vector<std::string> Subkeys() const {
    std::vector<std::string> names;
    for (DWORD i = 0;; ++i) {
      char name[256];
      DWORD size = sizeof name;
      if (RegEnumKeyExA(key_, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, size);
    }
    return names;
  }

  std::optional<std::string> Default(const char* subkey) const {
    const Key sub(key_, subkey);
    if (!sub) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(sub.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
      return std::nullopt;
    }
    std::string value(size, '\0');
    if (RegQueryValueExA(sub.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS) {
      return std::nullopt;
    }
    value.resize(std::min<std::size_t>(size, value.size()));
    while (!value.empty() && value.back() == '\0') value.pop_back();
    if (type == REG_EXPAND_SZ) {
      char expanded[MAX_PATH * 4];
      const DWORD length = ExpandEnvironmentStringsA(value.c_str(), expanded, sizeof expanded);
      if (length > 0 && length <= sizeof expanded) value = expanded;
    }
    return value;
  }

 private:
  HKEY key_ = nullptr;
};

std::string GuidText(const GUID& guid) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

}  // namespace

std::vector<platform::TypeLibRegistration> Win32TypeLibRegistry::Registrations(const std::string& guid) {
  std::vector<platform::TypeLibRegistration> found;
  for (const auto& [root, user] :
       {std::pair{HKEY_CURRENT_USER, true}, std::pair{HKEY_LOCAL_MACHINE, false}}) {
    const Key library(root, "Software\\Classes\\TypeLib\\" + guid);
    if (!library) continue;
    for (const auto& version : library.Subkeys()) {
      const auto dot = version.find('.');
      if (dot == std::string::npos) continue;
      const auto major = base::HexNumber(version.substr(0, dot));
      const auto minor = base::HexNumber(version.substr(dot + 1));
      if (!major || !minor || *major > 0xFFFF || *minor > 0xFFFF) continue;
      const Key versionKey(library.get(), version);
      if (!versionKey) continue;
      for (const auto& lcidName : versionKey.Subkeys()) {
        const auto lcid = base::HexNumber(lcidName);
        if (!lcid) continue;  // FLAGS, HELPDIR
        const Key lcidKey(versionKey.get(), lcidName);
        if (!lcidKey) continue;
        platform::TypeLibRegistration registration;
        registration.major = static_cast<uint16_t>(*major);
        registration.minor = static_cast<uint16_t>(*minor);
        registration.lcid = *lcid;
        registration.win32 = lcidKey.Default("win32");
        registration.win64 = lcidKey.Default("win64");
        registration.user = user;
        if (registration.win32 || registration.win64) found.push_back(std::move(registration));
      }
    }
  }
  return found;
}

platform::LibraryFile Win32LibraryFiles::Look(const std::string& windowsPath, bool readLibrary,
                                              uint32_t resourceId) {
  const auto slot = std::pair{base::LowerAscii(windowsPath), readLibrary ? resourceId + 1 : 0};
  if (const auto cached = looked_.find(slot); cached != looked_.end()) return cached->second;
  platform::LibraryFile file;
  char full[MAX_PATH * 4];
  const DWORD length = GetFullPathNameA(windowsPath.c_str(), sizeof full, full, nullptr);
  const DWORD attributes =
      length > 0 && length < sizeof full ? GetFileAttributesA(full) : INVALID_FILE_ATTRIBUTES;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    file.exists = true;
    char spelled[MAX_PATH * 4];
    const DWORD got = GetLongPathNameA(full, spelled, sizeof spelled);
    file.shown = got > 0 && got < sizeof spelled ? spelled : full;
    if (readLibrary) {
      std::string path = full;
      if (resourceId != 0) path += "\\" + std::to_string(resourceId);
      const int wide = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
      std::wstring widePath(static_cast<std::size_t>(wide > 0 ? wide : 1), L'\0');
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath.data(), wide);
      ITypeLib* library = nullptr;
      const HRESULT loaded = LoadTypeLibEx(widePath.c_str(), REGKIND_NONE, &library);
      TLIBATTR* attributes = nullptr;
      if (SUCCEEDED(loaded) && SUCCEEDED(library->GetLibAttr(&attributes))) {
        file.identity = platform::TypeLibIdentity{GuidText(attributes->guid), attributes->wMajorVerNum,
                                                  attributes->wMinorVerNum};
        library->ReleaseTLibAttr(attributes);
      } else {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(loaded));
        file.problem = std::string("the system's loader found no type library in it (") + code + ")";
      }
      if (library != nullptr) library->Release();
    }
  }
  looked_.emplace(slot, file);
  return file;
}

}  // namespace win32
