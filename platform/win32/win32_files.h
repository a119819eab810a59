// The project's files on the Windows file system: reading, the packed project file and the copies.
#pragma once

#include "platform/win32/windows_api.h"

#include <set>
#include <string>

#include "platform/pack_files.h"
#include "platform/text_files.h"
#include "platform/win32/win32_text.h"

namespace win32 {

// Paths are Windows paths in the ANSI code page and go to the A entry points unchanged.
//
// Inputs are opened sharing reading only, so that while one is open Windows itself refuses to write
// the file. An output is written to a temporary file in its folder and renamed over its name when it
// is closed; until then its name counts as in use. A copy, too, goes to a temporary file first: the
// destination is always either the old file or the whole copy.
class Win32Files : public platform::TextFiles, public platform::PackFiles {
 public:
  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override;
  std::unique_ptr<platform::OutputFile> CreateOutput(const std::string& path) override;
  platform::FileIdentity CopyReplacing(const std::string& from, const std::string& to) override;
  bool Exists(const std::string& path) override;
  std::optional<platform::FileIdentity> Identify(const std::string& path) override;
  platform::FileState StateOf(const std::string& path) override;
  void ReplaceWhole(const std::string& path, std::string_view bytes,
                    const platform::FileState* expected = nullptr) override;
  std::bitset<256> LeadBytes() const override;

 private:
  friend class Win32Output;
  std::set<std::string> pendingOutputs_;  // full paths, lower-cased
};

// Opens an existing file on a disk for reading, sharing only reading. Throws platform::FileError.
OwnedHandle OpenDiskFileForReading(const std::string& path);

// The file's identity as the file system tells files apart (volume serial number and file index).
platform::FileIdentity IdentityOf(HANDLE file, const std::string& path);

// The path made absolute by Windows' own rules ("/" separates, "." and ".." resolved). Throws FileError.
std::string FullPath(const std::string& path);

// The folder part of a full path, ending in "\".
std::string FolderOf(const std::string& fullPath);

}  // namespace win32
