// Setup's services on Windows: shell32's folders, the registry, the running program file.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>

#include "platform/shell_folders.h"

namespace win32 {

// SHGetFolderPathA, looked up in shell32 at run time: older shells lack the entry point.
class Shell32Folders : public platform::ShellFolders {
 public:
  Shell32Folders();
  ~Shell32Folders() override;
  Shell32Folders(const Shell32Folders&) = delete;
  Shell32Folders& operator=(const Shell32Folders&) = delete;

  std::optional<int32_t> GetFolderPath(int32_t folder, uint32_t flags, platform::PathBuffer& buffer) override;

 private:
  using GetFolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
  HMODULE shell32_;
  GetFolderPathFunction getFolderPath_ = nullptr;
};

// advapi32's registry.
class Advapi32Registry : public platform::Registry {
 public:
  std::unique_ptr<platform::RegistryKey> OpenKey(uint32_t root, const std::string& subKey, uint32_t access,
                                                 int32_t& status) override;
};

// The running program, from GetModuleFileNameA.
class ModuleProgramFile : public platform::ProgramFile {
 public:
  ModuleProgramFile();
  std::string Folder() const override { return folder_; }
  std::string BaseName() const override { return baseName_; }

 private:
  std::string folder_;
  std::string baseName_;
};

// The full path of the running program's file.
std::string ModuleFileName();

}  // namespace win32
