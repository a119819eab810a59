// The packer's files on POSIX: Windows paths on the Z: drive, copies through the kernel, files in use.
#pragma once

#include <map>
#include <random>
#include <string>
#include <unordered_map>

#include "platform/code_page.h"
#include "platform/pack_files.h"

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
  void ReplaceWhole(const std::string& path, std::string_view bytes) override;

  // Bookkeeping of the files open through this object.
  void Hold(const platform::FileIdentity& file) { ++inUse_[file]; }
  void Release(const platform::FileIdentity& file);
  bool InUse(const platform::FileIdentity& file) const { return inUse_.count(file) != 0; }

 private:
  // The host path of a Windows path, as HostFromWindows finds it. While a pack holds its files open,
  // folders and folder listings are remembered, so that names missing from a large folder do not
  // read the whole folder each time.
  std::string HostOf(const std::string& path, bool allowMissingLeaf);
  const std::unordered_map<std::string, std::string>& FoldedNames(const std::string& hostFolder);
  void Created(const std::string& hostPath);
  std::string TemporaryName();
  void ReplaceLinkWithEmptyFile(const std::string& host, const std::string& path);

  const platform::CodePage& codePage_;
  std::map<platform::FileIdentity, int> inUse_;
  std::unordered_map<std::string, std::string> folders_;  // Windows folder -> host folder
  std::unordered_map<std::string, std::unordered_map<std::string, std::string>> listings_;
  std::mt19937_64 random_;
};

}  // namespace posix
