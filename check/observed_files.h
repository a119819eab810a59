// The reader's files as a check sees them: every byte the reader reads is scanned on its way, and a
// component file that cannot be read becomes a finding instead of ending the read.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "check/text_scan.h"
#include "platform/text_files.h"

namespace check {

class ObservedFiles : public platform::TextFiles {
 public:
  // Failures on projectFile itself still fail the read, as they fail it for the tree.
  ObservedFiles(platform::TextFiles& files, std::string projectFile)
      : files_(files), projectFile_(std::move(projectFile)) {}

  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override;
  std::bitset<256> LeadBytes() const override { return files_.LeadBytes(); }

  // The scan of a file that some read went through to its end; null when none did.
  const TextScan* WholeScan(const std::string& path) const;
  // Why the file could not be opened or read; null when it could.
  const std::string* Failure(const std::string& path) const;

 private:
  friend class ObservedInput;

  platform::TextFiles& files_;
  std::string projectFile_;
  std::unordered_map<std::string, TextScan> whole_;
  std::unordered_map<std::string, std::string> failures_;
};

}  // namespace check
