// Every Windows implementation of the platform interfaces, made in this one place for both programs.
#pragma once

#include <memory>

#include "platform/code_page.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_folder_names.h"
#include "platform/win32/win32_probe_files.h"
#include "platform/win32/win32_setup.h"
#include "platform/win32/win32_shell_link.h"
#include "setup/setup_platform.h"
#include "setup/time_seeded_random.h"

namespace win32 {

class Host {
 public:
  explicit Host(std::unique_ptr<platform::CodePage> codePage) : codePage_(std::move(codePage)) {}
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  const platform::CodePage& codePage() const { return *codePage_; }
  platform::TextFiles& files() { return files_; }
  platform::PackFiles& packFiles() { return packFiles_; }
  platform::FolderNames& folderNames() { return folderNames_; }
  SetupPlatform Setup() {
    return {shellFolders_, registry_, programFile_, probeFiles_, random_, shellLinks_, *codePage_};
  }

 private:
  std::unique_ptr<platform::CodePage> codePage_;
  Win32Files files_;
  Win32Files packFiles_;
  Win32FolderNames folderNames_;
  Shell32Folders shellFolders_;
  Advapi32Registry registry_;
  ModuleProgramFile programFile_;
  Win32ProbeFiles probeFiles_;
  mdlPath::TimeSeededRandom random_;
  ComShellLinks shellLinks_;
};

}  // namespace win32
