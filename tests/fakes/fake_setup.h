// Fakes of Setup mode's platform: shell folders, registry, program file, probe files and random numbers,
// all writing what they are asked into one shared call log.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/probe_files.h"
#include "platform/random_source.h"
#include "platform/shell_folders.h"
#include "platform/shell_link.h"

namespace fakes {

using CallLog = std::vector<std::string>;

class FakeShellFolders : public platform::ShellFolders {
 public:
  explicit FakeShellFolders(CallLog& log) : log_(log) {}
  // The text the call leaves in the buffer for a folder id; a folder not given leaves the buffer alone.
  std::map<int32_t, std::string> folders;
  bool entryPointMissing = false;
  platform::HResult resultForMissing = static_cast<int32_t>(0x80070002u);

  std::optional<int32_t> GetFolderPath(int32_t folder, uint32_t flags, platform::PathBuffer& buffer) override;
  // Whether every buffer handed in was all NUL characters.
  bool buffersWereClear = true;

 private:
  CallLog& log_;
};

class FakeRegistry : public platform::Registry {
 public:
  explicit FakeRegistry(CallLog& log) : log_(log) {}
  bool keyExists = false;
  std::optional<std::string> programs;  // the value "Programs", written with its NUL when it fits

  std::unique_ptr<platform::RegistryKey> OpenKey(uint32_t root, const std::string& subKey, uint32_t access,
                                                 int32_t& status) override;
  int openKeys = 0;

 private:
  CallLog& log_;
};

class FakeProgramFile : public platform::ProgramFile {
 public:
  FakeProgramFile(CallLog& log, std::string folder, std::string baseName)
      : log_(log), folder_(std::move(folder)), baseName_(std::move(baseName)) {}
  std::string Folder() const override {
    log_.push_back("Folder");
    return folder_;
  }
  std::string BaseName() const override {
    log_.push_back("BaseName");
    return baseName_;
  }

 private:
  CallLog& log_;
  std::string folder_;
  std::string baseName_;
};

// Files by exact Windows path, in folders that can be made unwritable or undeletable.
class FakeProbeFiles : public platform::ProbeFiles {
 public:
  explicit FakeProbeFiles(CallLog& log) : log_(log) {}
  std::set<std::string> files;            // existing files, with their content untouched by the probe
  std::set<std::string> readOnlyFolders;  // folder paths ending in "\"
  bool failClose = false;
  bool failDelete = false;

  platform::CreatedProbe CreateExclusive(const std::string& path) override;
  bool Delete(const std::string& path) override;
  int openFiles = 0;

 private:
  CallLog& log_;
};

// Hands out scripted numbers, then 0.
class ScriptedRandom : public platform::RandomSource {
 public:
  explicit ScriptedRandom(CallLog& log, std::deque<double> numbers = {})
      : log_(log), numbers_(std::move(numbers)) {}
  void SeedFromTimeOfDay() override { log_.push_back("Randomize"); }
  double Next() override {
    if (numbers_.empty()) return 0;
    const double next = numbers_.front();
    numbers_.pop_front();
    return next;
  }

 private:
  CallLog& log_;
  std::deque<double> numbers_;
};

}  // namespace fakes

namespace fakes {

// ISO 8859-1: each byte is the code point of the same number.
class Latin1CodePage : public platform::CodePage {
 public:
  std::string ToUtf8(std::string_view bytes) const override;
  std::optional<std::string> FromUtf8(std::string_view utf8) const override;
};

}  // namespace fakes
