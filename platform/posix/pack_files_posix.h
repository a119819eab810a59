// The packer's files on POSIX: Windows paths on the Z: drive, copies through the kernel, files in use.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <unordered_map>

#include "platform/code_page.h"
#include "platform/pack_files.h"
#include "platform/posix/folder_listing.h"

namespace posix {

// Copies go to a temporary file in the destination's folder and are renamed over the destination, so a
// failed copy leaves the old file. What Windows refuses by itself is refused here explicitly: writing a
// file that this object holds open, and writing a file or folder without write permission bits (also
// for root). Only regular files are read or replaced; FIFOs and devices are never opened for writing.
// Files it hands out must not outlive it.
class PosixPackFiles : public platform::PackFiles {
 public:
  explicit PosixPackFiles(const platform::CodePage& codePage);

  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override;
  std::unique_ptr<platform::OutputFile> CreateOutput(const std::string& path) override;
  platform::FileIdentity CopyReplacing(const std::string& from, const std::string& to) override;
  bool Exists(const std::string& path) override;
  std::optional<platform::FileIdentity> Identify(const std::string& path) override;
  std::bitset<256> LeadBytes() const override { return codePage_.LeadBytes(); }
  platform::FileState StateOf(const std::string& path) override;
  void ReplaceWhole(const std::string& path, std::string_view bytes,
                    const platform::FileState* expected = nullptr) override;

  // Copies to a new name go through a named temporary file renamed into place, as on a file system
  // that has no unnamed files (O_TMPFILE), instead of an unnamed file linked in under its name.
  void UseNamedTemporaryFiles() { unnamedFiles_ = false; }
  // What a copy remembers is held under a lock; the rest of a copy is its own.
  bool CopiesSideBySide() const override { return true; }

  // Bookkeeping of the files open through this object.
  void Hold(const platform::FileIdentity& file) { ++inUse_[file]; }
  void Release(const platform::FileIdentity& file);
  bool InUse(const platform::FileIdentity& file) const { return inUse_.count(file) != 0; }
  // A new project file not yet under its name: the name counts as in use.
  void Pending(const std::string& host, bool pending);
  bool IsPending(const std::string& host) const;
  // Puts the finished temporary file (named, or unnamed and open as fd) under the name; 0 or errno.
  int PutInPlace(int fd, const std::string& temporary, const std::string& host, const std::string& path);
  void Created(const std::string& hostPath);

 private:
  // Where a Windows path leads. While a pack holds its files open the answer comes from the folder's
  // listing; otherwise, or when the listing could not be read, nothing is known beyond the path.
  struct Found {
    std::string host;
    enum class State { kUnknown, kPresent, kMissing } state = State::kUnknown;
    unsigned char type = 0;  // DT_UNKNOWN unless present
  };

  // The host path of a Windows path, as HostFromWindows finds it. While a pack holds its files open,
  // folders, folder listings and folder write checks are remembered, so that each name of a pack
  // costs no look at the disk beyond the listing of its folder, read once.
  Found Find(const std::string& path, bool allowMissingLeaf);
  // The folder's listing, read on first use while the pack holds its files open.
  FolderListing& ListingOf(const std::string& hostFolder);
  void RequireWritableFolder(const std::string& hostPath, const std::string& windowsPath);
  std::string TemporaryName();
  // Refuses an existing name that a rename must not replace: no regular file, in use, read-only.
  void CheckReplaceable(const std::string& host, const std::string& path);
  std::string PendingKey(const std::string& host) const;
  // Stands in the in-use counts for the pending project files, so the folders stay remembered.
  static constexpr platform::FileIdentity kPendingMark{~uint64_t{0}, ~uint64_t{0}};
  // The copy onto a name the listing does not hold: written unnamed and linked in under the name,
  // which fails rather than replace a file. False when this could not be done and nothing was named.
  bool CopyToNewName(int in, off_t size, const std::string& host, const std::string& from,
                     const std::string& to);
  void CopyThroughNamedFile(int in, off_t size, const std::string& host, const std::string& from,
                            const std::string& to);

  const platform::CodePage& codePage_;
  std::map<platform::FileIdentity, int> inUse_;
  std::set<std::string> pending_;                            // host folder + "/" + lower-cased name
  std::unordered_map<std::string, std::string> folders_;     // Windows folder -> host folder
  std::unordered_map<std::string, FolderListing> listings_;  // host folder -> its names
  std::unordered_map<std::string, int> writable_;            // host folder -> 0 or why it takes no files
  std::mt19937_64 random_;
  std::atomic<bool> unnamedFiles_ = true;
  // Held by a copy while it looks at or changes what is remembered above, so that copies can run side by
  // side; the rest of the object is used by one thread at a time.
  std::mutex copyLock_;
  template <typename Step>
  auto Locked(Step step) {
    const std::lock_guard<std::mutex> hold(copyLock_);
    return step();
  }
};

}  // namespace posix
