// Library files named by Windows paths on a POSIX host: drive Z: is the host's root, other drives are
// those a Wine prefix's dosdevices links give. Each file is read once.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/code_page.h"
#include "platform/library_files.h"
#include "platform/posix/type_library_reader.h"

namespace posix {

class PrefixLibraryFiles : public platform::LibraryFiles {
 public:
  PrefixLibraryFiles(std::optional<std::string> prefix, const platform::CodePage& codePage)
      : prefix_(std::move(prefix)), codePage_(codePage) {}

  platform::LibraryFile Look(const std::string& windowsPath, bool readLibrary, uint32_t resourceId) override;

 private:
  // The Z: form of a Windows path: another drive through the prefix's dosdevices link; nothing when the
  // drive is not there.
  std::optional<std::string> DrivePath(const std::string& windowsPath);
  // The lower-case folder of a path naming a file in it, as missingFolders_ holds it.
  std::optional<std::string> MissingFolderKey(const std::string& path) const;
  // The host path of a Z: path, names matched without regard to case; nothing when there is none.
  std::optional<std::string> HostPath(const std::string& path);
  // The library a host path's file holds, read once per file; nothing inside when the file is not a
  // regular file. Null when it does not open and found is false (the path may be spelled otherwise).
  const std::optional<TypeLibRead>* ReadLibrary(const std::string& host, uint32_t resourceId, bool found);

  std::optional<std::string> prefix_;
  const platform::CodePage& codePage_;
  std::map<std::string, std::optional<std::string>> drives_;  // "c:" -> its Z: form
  std::set<std::string> missingFolders_;  // lower-case Windows folders found not to be there
  std::map<std::pair<std::string, uint32_t>, platform::LibraryFile> looked_;  // by lower-case Windows path
  // by host path; nothing when it is not a regular file
  std::map<std::pair<std::string, uint32_t>, std::optional<TypeLibRead>> read_;
};

}  // namespace posix
