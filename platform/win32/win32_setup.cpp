// Shell folders through shell32, the registry through advapi32, the program file through kernel32.
#include "platform/win32/win32_setup.h"

#include <cstring>
#include <vector>

#include "base/windows_path.h"

namespace win32 {

Shell32Folders::Shell32Folders() : shell32_(::LoadLibraryA("shell32.dll")) {
  if (shell32_ != nullptr) {
    getFolderPath_ = reinterpret_cast<GetFolderPathFunction>(
        reinterpret_cast<void*>(::GetProcAddress(shell32_, "SHGetFolderPathA")));
  }
}

Shell32Folders::~Shell32Folders() {
  if (shell32_ != nullptr) ::FreeLibrary(shell32_);
}

std::optional<int32_t> Shell32Folders::GetFolderPath(int32_t folder, uint32_t flags,
                                                     platform::PathBuffer& buffer) {
  if (getFolderPath_ == nullptr) return std::nullopt;
  return getFolderPath_(nullptr, folder, nullptr, flags, buffer.data());
}

namespace {

class Advapi32Key : public platform::RegistryKey {
 public:
  explicit Advapi32Key(HKEY key) : key_(key) {}
  ~Advapi32Key() override { ::RegCloseKey(key_); }
  Advapi32Key(const Advapi32Key&) = delete;
  Advapi32Key& operator=(const Advapi32Key&) = delete;

  int32_t QueryValue(const std::string& name, platform::PathBuffer& buffer, uint32_t size) override {
    DWORD type = 0;
    DWORD length = std::min<DWORD>(size, static_cast<DWORD>(buffer.size()));
    return ::RegQueryValueExA(key_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                              &length);
  }

 private:
  HKEY key_;
};

}  // namespace

std::unique_ptr<platform::RegistryKey> Advapi32Registry::OpenKey(uint32_t root, const std::string& subKey,
                                                                 uint32_t access, int32_t& status) {
  // The predefined keys are 32-bit values that widen sign-extended, as <winreg.h> defines them.
  const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
  HKEY key = nullptr;
  status = ::RegOpenKeyExA(rootKey, subKey.c_str(), 0, access, &key);
  if (status != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Advapi32Key>(key);
}

std::string ModuleFileName() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

ModuleProgramFile::ModuleProgramFile() {
  base::SplitProgramPath(ModuleFileName(), folder_, baseName_);
}

}  // namespace win32
