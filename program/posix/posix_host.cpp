#include "program/posix/posix_host.h"

#include "platform/posix/code_pages.h"

namespace posix {

Host::Host()
    : codePage_(SystemCodePage()),
      files_(*codePage_),
      packFiles_(*codePage_),
      folderNames_(*codePage_),
      shellFolders_(*codePage_),
      programFile_(*codePage_),
      probeFiles_(*codePage_),
      shellLinks_(*codePage_) {}

SetupPlatform Host::Setup() {
  return {shellFolders_, registry_, programFile_, probeFiles_, random_, shellLinks_, *codePage_};
}

}  // namespace posix
