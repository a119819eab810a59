// The files a pack touches: the source project file read again, the new project file, and copies.
#pragma once

#include <bitset>
#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text_files.h"

namespace platform {

// Which file a path reached, as the file system tells files apart (device and inode on POSIX).
// Two spellings of one file, or two hard links to it, have the same identity.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

// What a file is at one moment: which file, how long, when it last changed, how many names it has.
struct FileState {
  FileIdentity identity;
  uint64_t size = 0;
  int64_t modified = 0;  // in nanoseconds (POSIX) or 100-nanosecond ticks (Windows)
  uint64_t links = 0;
  friend bool operator==(const FileState&, const FileState&) = default;
};

// A text file being written, whole or not at all: the bytes go to a temporary file in the target's
// folder, and only Close puts them under the name. Destroyed without Close, it drops what was written
// and leaves the name as it was (an earlier file untouched, no temporary file).
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Appends the bytes as they are. Throws FileError when they cannot be written.
  virtual void Write(std::string_view bytes) = 0;
  // Writes out what is pending and puts the whole file under its name in one step. Throws FileError,
  // leaving the name as it was, when anything written did not reach the disk (also a failure that
  // shows only now, a full disk) or the name can no longer be replaced.
  virtual void Close() = 0;
};

// Files named by Windows paths. A file that is open through this object (an input, or an output not
// yet closed) is in use: creating it or copying onto it fails and leaves it as it is, as Windows
// refuses to write a file that another handle holds.
class PackFiles {
 public:
  virtual ~PackFiles() = default;

  // Opens an existing regular file for reading. Throws FileError when it cannot.
  virtual std::unique_ptr<InputFile> OpenInput(const std::string& path) = 0;

  // The bytes that begin a two-byte character in the code page paths are written in.
  virtual std::bitset<256> LeadBytes() const { return {}; }

  // Starts the file that will replace the one under the name when it is closed; until then the name is
  // in use and an existing file keeps its bytes. Throws FileError, leaving an existing file untouched,
  // when the file is in use, is read-only, is no regular file, or its folder takes no files.
  virtual std::unique_ptr<OutputFile> CreateOutput(const std::string& path) = 0;

  // Copies the regular file from onto to, replacing a file of that name (one whose name matches
  // without regard to case). The destination never holds a partly written file: it is the old file
  // or the whole copy. Throws FileError, leaving the destination as it was, when the source is missing
  // or no regular file, the destination is the source itself, in use, read-only or no regular file,
  // or the copy cannot be written. Returns the identity of the source that was copied.
  virtual FileIdentity CopyReplacing(const std::string& from, const std::string& to) = 0;

  // Whether several threads may call CopyReplacing at the same time, while no other member is called.
  virtual bool CopiesSideBySide() const { return false; }

  // Whether something exists under the path (false only when the file system says it does not).
  virtual bool Exists(const std::string& path) = 0;

  // The file the path reaches, links followed; nothing when it reaches none.
  virtual std::optional<FileIdentity> Identify(const std::string& path) = 0;

  // What the regular file under the path is now. Throws FileError when there is none.
  virtual FileState StateOf(const std::string& path) = 0;

  // Replaces the content of an existing regular file with bytes, keeping its permissions: they go to
  // a temporary file in its folder, renamed over it, so the file is either the old one or the whole
  // new one. Throws FileError, leaving the file as it was, when it is missing, in use, read-only, no
  // regular file, or cannot be written; and with `expected`, when just before the rename the file is
  // not as expected (another program changed it), or has another name as well (a hard link).
  virtual void ReplaceWhole(const std::string& path, std::string_view bytes,
                            const FileState* expected = nullptr) = 0;
};

}  // namespace platform
