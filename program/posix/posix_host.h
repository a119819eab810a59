// Every POSIX implementation of the platform interfaces, made in this one place for both programs.
#pragma once

#include <memory>

#include "platform/code_page.h"
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_folder_names.h"
#include "platform/posix/posix_text_files.h"
#include "platform/posix/setup_folders.h"
#include "platform/posix/setup_probe_files.h"
#include "platform/posix/shell_link_file.h"
#include "setup/setup_platform.h"
#include "setup/time_seeded_random.h"

namespace posix {

class Host {
 public:
  // Text is in the code page TARVEX_CODEPAGE names, Windows-1252 by default. Throws
  // std::invalid_argument when it names a code page that cannot be used.
  Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  const platform::CodePage& codePage() const { return *codePage_; }
  platform::TextFiles& files() { return files_; }
  platform::PackFiles& packFiles() { return packFiles_; }
  platform::FolderNames& folderNames() { return folderNames_; }
  SetupPlatform Setup();

 private:
  std::unique_ptr<platform::CodePage> codePage_;
  PosixTextFiles files_;
  PosixPackFiles packFiles_;
  PosixFolderNames folderNames_;
  XdgShellFolders shellFolders_;
  NoRegistry registry_;
  RunningProgramFile programFile_;
  PosixProbeFiles probeFiles_;
  mdlPath::TimeSeededRandom random_;
  ShellLinkFiles shellLinks_;
};

}  // namespace posix
