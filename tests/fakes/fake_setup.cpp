#include "tests/fakes/fake_setup.h"

#include <algorithm>

namespace fakes {
namespace {

bool AllNul(const platform::PathBuffer& buffer) {
  return std::all_of(buffer.begin(), buffer.end(), [](char c) { return c == '\0'; });
}

// Copies text into the buffer as the system would, at most size bytes with the NUL.
void Fill(platform::PathBuffer& buffer, const std::string& text) {
  const std::size_t n = std::min(text.size(), buffer.size() - 1);
  std::copy_n(text.begin(), n, buffer.begin());
  buffer[n] = '\0';
}

class FakeRegistryKey : public platform::RegistryKey {
 public:
  FakeRegistryKey(CallLog& log, const FakeRegistry& registry, int& open)
      : log_(log), registry_(registry), open_(open) {
    ++open_;
  }
  ~FakeRegistryKey() override {
    log_.push_back("RegCloseKey");
    --open_;
  }
  int32_t QueryValue(const std::string& name, platform::PathBuffer& buffer, uint32_t size) override {
    log_.push_back("RegQueryValueExA " + name + " " + std::to_string(size));
    if (!registry_.programs || name != "Programs") return 2;
    Fill(buffer, *registry_.programs);
    return 0;
  }

 private:
  CallLog& log_;
  const FakeRegistry& registry_;
  int& open_;
};

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.rfind('\\') + 1);
}

class FakeProbeFile : public platform::ProbeFile {
 public:
  FakeProbeFile(CallLog& log, bool fail, int& open) : log_(log), fail_(fail), open_(open) { ++open_; }
  ~FakeProbeFile() override {
    if (!closed_) --open_;
  }
  bool Close() override {
    log_.push_back("Close");
    if (!closed_) --open_;
    closed_ = true;
    return !fail_;
  }

 private:
  CallLog& log_;
  bool fail_;
  int& open_;
  bool closed_ = false;
};

}  // namespace

std::optional<int32_t> FakeShellFolders::GetFolderPath(int32_t folder, uint32_t flags,
                                                       platform::PathBuffer& buffer) {
  log_.push_back("SHGetFolderPathA " + std::to_string(folder) + " " + std::to_string(flags));
  buffersWereClear = buffersWereClear && AllNul(buffer);
  if (entryPointMissing) return std::nullopt;
  const auto found = folders.find(folder);
  if (found == folders.end()) return resultForMissing;
  Fill(buffer, found->second);
  return platform::kSOk;
}

std::unique_ptr<platform::RegistryKey> FakeRegistry::OpenKey(uint32_t root, const std::string& subKey,
                                                             uint32_t access, int32_t& status) {
  log_.push_back("RegOpenKeyExA " + std::to_string(root) + " " + subKey + " " + std::to_string(access));
  if (!keyExists) {
    status = 2;
    return nullptr;
  }
  status = 0;
  return std::make_unique<FakeRegistryKey>(log_, *this, openKeys);
}

platform::CreatedProbe FakeProbeFiles::CreateExclusive(const std::string& path) {
  log_.push_back("Create " + path);
  if (files.count(path)) return {platform::ProbeCreate::AlreadyExists, nullptr};
  if (readOnlyFolders.count(FolderOf(path))) return {platform::ProbeCreate::Failed, nullptr};
  files.insert(path);
  return {platform::ProbeCreate::Created, std::make_unique<FakeProbeFile>(log_, failClose, openFiles)};
}

bool FakeProbeFiles::Delete(const std::string& path) {
  log_.push_back("Delete " + path);
  if (failDelete || !files.count(path)) return false;
  files.erase(path);
  return true;
}

}  // namespace fakes

namespace fakes {

std::string Latin1CodePage::ToUtf8(std::string_view bytes) const {
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

std::optional<std::string> Latin1CodePage::FromUtf8(std::string_view utf8) const {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out += utf8[i];
    } else if ((b == 0xC2 || b == 0xC3) && i + 1 < utf8.size()) {
      out += static_cast<char>(((b & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    } else {
      return std::nullopt;
    }
  }
  return out;
}

}  // namespace fakes
