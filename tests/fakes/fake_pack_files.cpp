#include "tests/fakes/fake_pack_files.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace fakes {

// An open handle, for reading or writing: its node is in use until it is released.
class FakeFile : public platform::InputFile, public platform::OutputFile {
 public:
  FakeFile(FakePackFiles& owner, int node, std::string path)
      : owner_(owner), node_(node), path_(std::move(path)) {
    ++owner_.nodes_[node_].users;
    ++owner_.openCount_;
  }
  ~FakeFile() override { Close(); }
  std::size_t Read(char* buffer, std::size_t size) override {
    // A file open for reading is never emptied: it cannot be written over while in use.
    const std::size_t n = owner_.nodes_[node_].content.copy(buffer, size, offset_);
    offset_ += n;
    return n;
  }
  void Write(std::string_view bytes) override {
    if (!open_) throw platform::FileError(path_, "The handle is invalid.");
    owner_.nodes_[node_].content.append(bytes);
  }
  void Close() override {
    if (!std::exchange(open_, false)) return;
    --owner_.nodes_[node_].users;
    --owner_.openCount_;
  }

 private:
  FakePackFiles& owner_;
  int node_;
  std::string path_;
  bool open_ = true;
  std::size_t offset_ = 0;
};

// A new file, written aside and put under its name in one step when closed; dropped unless closed.
class FakeOutput : public platform::OutputFile {
 public:
  FakeOutput(FakePackFiles& owner, std::string path) : owner_(owner), path_(std::move(path)) {
    ++owner_.pending_[FakePackFiles::Key(path_)];
    ++owner_.openCount_;
  }
  ~FakeOutput() override { Release(); }
  void Write(std::string_view bytes) override {
    if (!open_) throw platform::FileError(path_, "The handle is invalid.");
    content_.append(bytes);
  }
  void Close() override {
    if (!open_) throw platform::FileError(path_, "The handle is invalid.");
    Release();
    if (!owner_.Exists(path_)) owner_.Put(path_, "");
    owner_.ReplaceWhole(path_, content_);
  }

 private:
  void Release() {
    if (!std::exchange(open_, false)) return;
    const std::string key = FakePackFiles::Key(path_);
    if (--owner_.pending_[key] == 0) owner_.pending_.erase(key);
    --owner_.openCount_;
  }
  FakePackFiles& owner_;
  std::string path_;
  std::string content_;
  bool open_ = true;
};

std::string FakePackFiles::Key(const std::string& path) {
  std::string text = "/" + path;  // rooted, so that ".." stops at the top
  for (char& c : text) c = c == '\\' ? '/' : (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  std::string key = std::filesystem::path(text).lexically_normal().string().substr(1);
  if (key.ends_with('/')) key.pop_back();
  std::replace(key.begin(), key.end(), '/', '\\');
  return key;
}

int FakePackFiles::NewNode(Node node) {
  nodes_[nextNode_] = std::move(node);
  return nextNode_++;
}

std::optional<std::string> FakePackFiles::Content(const std::string& path) const {
  if (entries_.count(Key(path)) == 0) return std::nullopt;
  return nodes_.at(entries_.at(Key(path)).node).content;
}

std::unique_ptr<platform::InputFile> FakePackFiles::OpenInput(const std::string& path) {
  return std::make_unique<FakeFile>(*this, Regular(path), path);
}

std::unique_ptr<platform::OutputFile> FakePackFiles::CreateOutput(const std::string& path) {
  if (pending_.count(Key(path)) != 0) throw platform::FileError(path, "The file is in use.");
  if (Exists(path)) Replaceable(path);
  return std::make_unique<FakeOutput>(*this, path);
}

std::optional<platform::FileIdentity> FakePackFiles::Identify(const std::string& path) {
  const auto found = entries_.find(Key(path));
  if (found == entries_.end()) return std::nullopt;
  return platform::FileIdentity{1, static_cast<uint64_t>(found->second.node)};
}

platform::FileIdentity FakePackFiles::CopyReplacing(const std::string& from, const std::string& to) {
  const int sourceNode = Regular(from);
  if (pending_.count(Key(to)) != 0) throw platform::FileError(to, "The file is in use.");
  if (!Exists(to)) Put(to, "");
  if (entries_.at(Key(to)).node == sourceNode) throw platform::FileError(to, "The file is its own source.");
  ReplaceWhole(to, nodes_[sourceNode].content);
  copies_.emplace_back(Key(to), platform::FileIdentity{1, static_cast<uint64_t>(sourceNode)});
  return copies_.back().second;
}

platform::FileState FakePackFiles::StateOf(const std::string& path) {
  const int node = Regular(path);
  const auto links = std::count_if(entries_.begin(), entries_.end(),
                                   [node](const auto& e) { return e.second.node == node; });
  // Every change makes a new node: the node's number stands for the time it was last written.
  return {{1, static_cast<uint64_t>(node)}, nodes_[node].content.size(), node, static_cast<uint64_t>(links)};
}

void FakePackFiles::ReplaceWhole(const std::string& path, std::string_view bytes,
                                 const platform::FileState* expected) {
  Replaceable(path);
  if (expected && (StateOf(path) != *expected || expected->links > 1))
    throw platform::FileError(path, "The file was changed by another program after it was read.");
  // A new file takes the name, as written before, as a rename over the old one does: other links keep
  // the old content.
  entries_.at(Key(path)).node = NewNode(Node{std::string(bytes)});
  written_.push_back(Key(path));
}

int FakePackFiles::Regular(const std::string& path) {
  const auto found = entries_.find(Key(path));
  if (found == entries_.end()) throw platform::FileError(path, "The system cannot find the file specified.");
  if (!nodes_[found->second.node].regular) throw platform::FileError(path, "Not a regular file");
  return found->second.node;
}

int FakePackFiles::Replaceable(const std::string& path) {
  const int found = Regular(path);
  if (nodes_[found].users > 0) throw platform::FileError(path, "The file is in use.");
  if (nodes_[found].readOnly) throw platform::FileError(path, "Access is denied.");
  return found;
}

std::map<std::string, std::string> FakePackFiles::Snapshot() const {
  std::map<std::string, std::string> all;
  for (const auto& [key, entry] : entries_) {
    const Node& node = nodes_.at(entry.node);
    all[key] = entry.shownName + (node.regular ? ":" : "|") + (node.readOnly ? "r:" : "w:") + node.content;
  }
  return all;
}

// A file of the files below, its reads, writes and closing made to fail as the faults say.
class InjectedFile : public platform::InputFile, public platform::OutputFile {
 public:
  InjectedFile(InjectingPackFiles& owner, std::string path, std::unique_ptr<platform::InputFile> in,
               std::unique_ptr<platform::OutputFile> out = nullptr)
      : owner_(owner), path_(std::move(path)), in_(std::move(in)), out_(std::move(out)) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const auto* fault = owner_.Hit("read", path_);
    if (fault && read_ >= fault->after) owner_.Refuse("read", path_);
    size = std::min({size, owner_.chunk, fault ? fault->after - read_ : size});
    const std::size_t n = owner_.Counted([&] { return in_->Read(buffer, size); });
    read_ += n;
    return n;
  }
  void Write(std::string_view bytes) override {
    try {
      owner_.Step();
      if (owner_.Hit("write", path_, owner_.writes_++)) owner_.Refuse("write", path_);
      owner_.Take(bytes.size(), path_);
      owner_.Counted([&] { out_->Write(bytes); });
    } catch (const platform::FileError&) {
      owner_.failedWrites.insert(FakePackFiles::Key(path_));
      throw;
    }
  }
  void Close() override {
    // A failed close leaves the earlier file, as a full disk found only then does.
    try {
      owner_.Check("close", path_);
      owner_.Counted([&] { out_->Close(); });
    } catch (const platform::FileError&) {
      owner_.failedWrites.insert(FakePackFiles::Key(path_));
      throw;
    }
  }

 private:
  InjectingPackFiles& owner_;
  std::string path_;
  std::unique_ptr<platform::InputFile> in_;
  std::unique_ptr<platform::OutputFile> out_;
  std::size_t read_ = 0;
};

const InjectingPackFiles::Fault* InjectingPackFiles::Hit(const std::string& step, const std::string& path,
                                                         std::optional<std::size_t> number) const {
  const std::string key = "\\" + FakePackFiles::Key(path);
  for (const Fault& fault : faults) {
    if (fault.step == step && (fault.path.empty() || key.ends_with("\\" + FakePackFiles::Key(fault.path))) &&
        (!number || fault.after == *number))
      return &fault;
  }
  return nullptr;
}

void InjectingPackFiles::Refuse(const std::string& step, const std::string& path) {
  ++failures_;
  throw platform::FileError(path, "injected " + step + " failure");
}

std::unique_ptr<platform::InputFile> InjectingPackFiles::OpenInput(const std::string& path) {
  opened.push_back(path);
  Check("open", path);
  return std::make_unique<InjectedFile>(*this, path, Counted([&] { return files_.OpenInput(path); }));
}

std::unique_ptr<platform::OutputFile> InjectingPackFiles::CreateOutput(const std::string& path) {
  Check("create", path);
  return std::make_unique<InjectedFile>(*this, path, nullptr,
                                        Counted([&] { return files_.CreateOutput(path); }));
}

platform::FileIdentity InjectingPackFiles::CopyReplacing(const std::string& from, const std::string& to) {
  copiedFrom.push_back(from);
  Check("copy", from);
  if (Hit("copy", to)) Refuse("copy", to);
  if (beforeCopy) beforeCopy(to);
  if (diskSpace) {
    // The copy is written whole before it takes the name: a full disk fails it and leaves the name.
    std::size_t size = 0;
    if (const auto source = Counted([&] { return files_.OpenInput(from); })) {
      char buffer[4096];
      while (const std::size_t n = source->Read(buffer, sizeof buffer)) size += n;
    }
    Take(size, to);
  }
  return Counted([&] { return files_.CopyReplacing(from, to); });
}

void InjectingPackFiles::ReplaceWhole(const std::string& path, std::string_view bytes,
                                      const platform::FileState* expected) {
  Check("replace", path);
  Counted([&] { files_.ReplaceWhole(path, bytes, expected); });
}

}  // namespace fakes
