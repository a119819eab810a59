// Fakes of Setup mode's platform: shell folders, registry, program file, probe files, random numbers, the
// ShellLink object and a code page. The shell, the registry, the files and the random source write
// what they are asked into one call log; the ShellLink object keeps a log of its own.
#pragma once

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/setup_platform.h"

namespace fakes {

using CallLog = std::vector<std::string>;

// Copies text into the buffer as the system would, at most its size with the NUL.
inline void FillBuffer(platform::PathBuffer& buffer, const std::string& text) {
  const std::size_t n = std::min(text.size(), buffer.size() - 1);
  std::copy_n(text.begin(), n, buffer.begin());
  buffer[n] = '\0';
}

// The shell's folders and the registry's "Programs" value under the Shell Folders key.
struct FakeShell : platform::ShellFolders, platform::Registry {
  explicit FakeShell(CallLog& l) : log(l) {}
  std::optional<int32_t> GetFolderPath(int32_t folder, uint32_t flags,
                                       platform::PathBuffer& buffer) override {
    log.push_back("SHGetFolderPathA " + std::to_string(folder) + " " + std::to_string(flags));
    if (entryPointMissing) return std::nullopt;
    if (!folders.count(folder)) return platform::kEFail;  // leaves the buffer alone
    FillBuffer(buffer, folders[folder]);
    return platform::kSOk;
  }
  std::unique_ptr<platform::RegistryKey> OpenKey(uint32_t root, const std::string& subKey, uint32_t access,
                                                 int32_t& status) override {
    log.push_back("RegOpenKeyExA " + std::to_string(root) + " " + subKey + " " + std::to_string(access));
    status = keyExists ? 0 : 2;
    return keyExists ? std::make_unique<Key>(*this) : nullptr;
  }
  struct Key : platform::RegistryKey {
    explicit Key(FakeShell& shell) : s(shell) {}
    ~Key() override { s.log.push_back("RegCloseKey"); }
    int32_t QueryValue(const std::string& name, platform::PathBuffer& buffer, uint32_t size) override {
      s.log.push_back("RegQueryValueExA " + name + " " + std::to_string(size));
      if (s.programs && name == "Programs") FillBuffer(buffer, *s.programs);
      return s.programs && name == "Programs" ? 0 : 2;
    }
    FakeShell& s;
  };
  CallLog& log;
  std::map<int32_t, std::string> folders;  // what the call leaves in the buffer for a folder id
  bool entryPointMissing = false;
  bool keyExists = false;
  std::optional<std::string> programs;
};

struct FakeProgramFile : platform::ProgramFile {
  FakeProgramFile(std::string f, std::string b) : folder(std::move(f)), base(std::move(b)) {}
  std::string Folder() const override { return folder; }
  std::string BaseName() const override { return base; }
  std::string folder, base;
};

// Files by exact Windows path, in folders (ending in "\") that can be made unwritable.
struct FakeProbeFiles : platform::ProbeFiles {
  explicit FakeProbeFiles(CallLog& l) : log(l) {}
  platform::CreatedProbe CreateExclusive(const std::string& path) override {
    log.push_back("Create " + path);
    if (files.count(path)) return {platform::ProbeCreate::AlreadyExists, nullptr};
    if (readOnlyFolders.count(path.substr(0, path.rfind('\\') + 1)))
      return {platform::ProbeCreate::Failed, nullptr};
    files.insert(path);
    return {platform::ProbeCreate::Created, std::make_unique<File>(!failClose)};
  }
  bool Delete(const std::string& path) override {
    log.push_back("Delete " + path);
    return !failDelete && files.erase(path) == 1;
  }
  struct File : platform::ProbeFile {
    explicit File(bool closes) : closes_(closes) {}
    bool Close() override { return closes_; }
    bool closes_;
  };
  CallLog& log;
  std::set<std::string> files, readOnlyFolders;
  bool failClose = false, failDelete = false;
};

// Hands out scripted numbers, then 0.
struct ScriptedRandom : platform::RandomSource {
  explicit ScriptedRandom(CallLog& l, std::deque<double> n = {}) : log(l), numbers(std::move(n)) {}
  void SeedFromTimeOfDay() override { log.push_back("Randomize"); }
  double Next() override {
    const double next = numbers.empty() ? 0 : numbers.front();
    if (!numbers.empty()) numbers.pop_front();
    return next;
  }
  CallLog& log;
  std::deque<double> numbers;
};

// Wide text as ASCII, every other code unit (and "{") as {HHHH}.
inline std::string ShownWide(std::u16string_view wide) {
  std::string text;
  for (const char16_t unit : wide) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "{%04X}", unsigned(unit));
    text += unit >= ' ' && unit <= '~' && unit != '{' ? std::string(1, char(unit)) : escaped;
  }
  return text;
}

// ShellLink objects that record their calls in order ("SetPath Z:\x.exe", "Save forget Z:\x.lnk" with the
// wide name ShownWide, "Release IPersistFile"); the call named failAt (by its first word) fails with failure.
struct RecordingShellLinks : platform::ShellLinkFactory {
  using HResult = platform::HResult;
  HResult Create(std::unique_ptr<platform::ShellLink>& link) override {
    const HResult result = Record("CoCreateInstance", "ShellLink");
    if (result >= 0) link = std::make_unique<Link>(*this);
    return result;
  }
  HResult Record(const std::string& name, const std::string& detail) {
    calls.push_back(name + " " + detail);
    return failAt == name ? failure : platform::kSOk;
  }
  struct Persist : platform::PersistFile {
    explicit Persist(RecordingShellLinks& links) : s(links) {}
    ~Persist() override { s.calls.push_back("Release IPersistFile"); }
    HResult Save(const std::u16string& fileName, bool remember) override {
      return s.Record("Save", (remember ? "remember " : "forget ") + ShownWide(fileName));
    }
    RecordingShellLinks& s;
  };
  struct Link : platform::ShellLink {
    explicit Link(RecordingShellLinks& links) : s(links) {}
    ~Link() override { s.calls.push_back("Release IShellLinkA"); }
    HResult SetPath(const std::string& v) override { return s.Record("SetPath", v); }
    HResult SetWorkingDirectory(const std::string& v) override { return s.Record("SetWorkingDirectory", v); }
    HResult SetArguments(const std::string& v) override { return s.Record("SetArguments", v); }
    HResult SetDescription(const std::string& v) override { return s.Record("SetDescription", v); }
    HResult SetIconLocation(const std::string& v, int32_t i) override {
      return s.Record("SetIconLocation", v + "," + std::to_string(i));
    }
    HResult SetShowCmd(int32_t v) override { return s.Record("SetShowCmd", std::to_string(v)); }
    HResult Resolve(std::uintptr_t w, uint32_t f) override {
      return s.Record("Resolve", std::to_string(w) + "," + std::to_string(f));
    }
    HResult QueryPersistFile(std::unique_ptr<platform::PersistFile>& file) override {
      const HResult result = s.Record("QueryInterface", "IPersistFile");
      if (result >= 0) file = std::make_unique<Persist>(s);
      return result;
    }
    RecordingShellLinks& s;
  };
  CallLog calls;
  std::string failAt;
  HResult failure = static_cast<int32_t>(0x80070005u);
};

// Code-page text passed on as UTF-8 unchanged: the fakes' paths are ASCII or UTF-8 already.
struct PassThroughCodePage : platform::CodePage {
  std::string ToUtf8(std::string_view bytes) const override { return std::string(bytes); }
  std::optional<std::string> FromUtf8(std::string_view utf8) const override { return std::string(utf8); }
};

// A machine with all of the above; its program is C:\Tools\Tarvex.exe.
struct FakeSetupMachine {
  CallLog log;
  FakeShell shell{log};
  FakeProgramFile program{"C:\\Tools", "Tarvex"};
  FakeProbeFiles files{log};
  ScriptedRandom random{log};
  RecordingShellLinks links;
  PassThroughCodePage codePage;
  SetupPlatform platform{shell, shell, program, files, random, links, codePage};
};

}  // namespace fakes
