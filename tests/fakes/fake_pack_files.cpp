#include "tests/fakes/fake_pack_files.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/errors.h"

namespace fakes {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string LastName(const std::string& path) {
  const auto p = path.find_last_of("\\/");
  return p == std::string::npos ? path : path.substr(p + 1);
}

}  // namespace

// An open handle: the node is in use until it is released.
class FakeHandle {
 public:
  FakeHandle(FakePackFiles& owner, int node, std::string path) : owner_(owner), node_(node), path_(std::move(path)) {
    ++owner_.nodes_[node_].users;
    ++owner_.openCount_;
  }
  ~FakeHandle() { Release(); }
  void Release() {
    if (!open_) return;
    open_ = false;
    --owner_.nodes_[node_].users;
    --owner_.openCount_;
  }

 protected:
  FakePackFiles& owner_;
  int node_;
  std::string path_;
  bool open_ = true;
};

class FakeInput : public platform::InputFile, FakeHandle {
 public:
  FakeInput(FakePackFiles& owner, int node, std::string path, std::size_t failAfter)
      : FakeHandle(owner, node, std::move(path)), failAfter_(failAfter) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    if (offset_ >= failAfter_) owner_.Refuse(path_, "injected read failure");
    const std::string& content = owner_.nodes_[node_].content;
    const std::size_t n =
        std::min({size, content.size() - std::min(offset_, content.size()), failAfter_ - offset_});
    std::memcpy(buffer, content.data() + offset_, n);
    offset_ += n;
    return n;
  }

 private:
  std::size_t failAfter_;
  std::size_t offset_ = 0;
};

class FakeOutput : public platform::OutputFile, FakeHandle {
 public:
  using FakeHandle::FakeHandle;
  void Write(std::string_view bytes) override {
    if (open_ && owner_.writes_++ == owner_.failWrite_) owner_.Refuse(path_, "injected write failure");
    if (!open_) owner_.Refuse(path_, "The handle is invalid.");
    owner_.nodes_[node_].content.append(bytes);
  }
  void Close() override {
    Release();
    if (owner_.Failing(FakePackFiles::Step::Close, path_)) owner_.Refuse(path_, "injected close failure");
  }
};

std::string FakePackFiles::Key(const std::string& path) {
  std::vector<std::string> names;
  std::size_t i = 0;
  while (i <= path.size()) {
    const std::size_t end = std::min(path.find_first_of("\\/", i), path.size());
    const std::string name = path.substr(i, end - i);
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(Lower(name));
    }
    i = end + 1;
  }
  std::string key;
  for (const auto& name : names) key += (key.empty() ? "" : "\\") + name;
  return key;
}

int FakePackFiles::NewNode(Node node) {
  nodes_[nextNode_] = std::move(node);
  return nextNode_++;
}

void FakePackFiles::Put(const std::string& path, std::string content) {
  entries_[Key(path)] = Entry{LastName(path), NewNode(Node{std::move(content)})};
}

void FakePackFiles::Link(const std::string& existing, const std::string& alias) {
  entries_[Key(alias)] = Entry{LastName(alias), entries_.at(Key(existing)).node};
}

void FakePackFiles::PutSpecial(const std::string& path) {
  Node node;
  node.regular = false;
  entries_[Key(path)] = Entry{LastName(path), NewNode(std::move(node))};
}

void FakePackFiles::SetReadOnly(const std::string& path) {
  nodes_[entries_.at(Key(path)).node].readOnly = true;
}

std::optional<std::string> FakePackFiles::Content(const std::string& path) const {
  const auto found = entries_.find(Key(path));
  if (found == entries_.end()) return std::nullopt;
  return nodes_.at(found->second.node).content;
}

std::unique_ptr<platform::InputFile> FakePackFiles::OpenInput(const std::string& path) {
  const auto found = entries_.find(Key(path));
  if (found == entries_.end()) Refuse(path, "The system cannot find the file specified.");
  if (!nodes_[found->second.node].regular) Refuse(path, "Not a regular file");
  if (Failing(Step::Open, path)) Refuse(path, "injected open failure");
  const auto fail = failReadAfter_.find(Key(path));
  const std::size_t failAfter =
      fail == failReadAfter_.end() ? std::numeric_limits<std::size_t>::max() : fail->second;
  return std::make_unique<FakeInput>(*this, found->second.node, path, failAfter);
}

std::unique_ptr<platform::OutputFile> FakePackFiles::CreateOutput(const std::string& path) {
  if (Failing(Step::Create, path)) Refuse(path, "injected create failure");
  if (entries_.count(Key(path)) == 0) {
    Put(path, "");
  } else {
    Node& node = nodes_[entries_.at(Key(path)).node];
    Replaceable(node, path);
    node.content.clear();
  }
  written_.push_back(Key(path));
  return std::make_unique<FakeOutput>(*this, entries_.at(Key(path)).node, path);
}

platform::FileIdentity FakePackFiles::CopyReplacing(const std::string& from, const std::string& to) {
  const auto source = entries_.find(Key(from));
  if (source == entries_.end()) Refuse(from, "The system cannot find the file specified.");
  const int sourceNode = source->second.node;
  if (!nodes_[sourceNode].regular) Refuse(from, "Not a regular file");
  if (Failing(Step::Copy, from)) Refuse(from, "injected copy failure");
  if (Failing(Step::Copy, to)) Refuse(to, "injected copy failure");
  const auto destination = entries_.find(Key(to));
  std::string shownName = LastName(to);
  if (destination != entries_.end()) {
    const Node& old = nodes_[destination->second.node];
    if (destination->second.node == sourceNode) Refuse(to, "The file is its own source.");
    Replaceable(old, to);
    shownName = destination->second.shownName;  // the file of that name is the one replaced
  }
  // A new file takes the name, as a rename over the old one does; other links keep the old content.
  entries_[Key(to)] = Entry{shownName, NewNode(Node{nodes_[sourceNode].content})};
  const platform::FileIdentity identity{1, static_cast<uint64_t>(sourceNode)};
  copies_.emplace_back(Key(to), identity);
  written_.push_back(Key(to));
  return identity;
}

bool FakePackFiles::Exists(const std::string& path) {
  return entries_.count(Key(path)) != 0;
}

void FakePackFiles::ReplaceWhole(const std::string& path, std::string_view bytes) {
  const auto found = entries_.find(Key(path));
  if (found == entries_.end()) Refuse(path, "The system cannot find the file specified.");
  const Node& old = nodes_[found->second.node];
  Replaceable(old, path);
  if (Failing(Step::Write, path)) Refuse(path, "injected write failure");
  // Renamed over the name: other links keep the old content.
  found->second.node = NewNode(Node{std::string(bytes)});
  written_.push_back(Key(path));
}

void FakePackFiles::Replaceable(const Node& node, const std::string& path) {
  if (!node.regular) Refuse(path, "Not a regular file");
  if (node.users > 0) Refuse(path, "The file is in use.");
  if (node.readOnly) Refuse(path, "Access is denied.");
}

void FakePackFiles::Refuse(const std::string& path, const std::string& reason) {
  ++failures_;
  throw platform::FileError(path, reason);
}

std::map<std::string, std::string> FakePackFiles::Snapshot() const {
  std::map<std::string, std::string> all;
  for (const auto& [key, entry] : entries_) {
    const Node& node = nodes_.at(entry.node);
    all[key] = entry.shownName + (node.regular ? ":" : "|") + (node.readOnly ? "r:" : "w:") + node.content;
  }
  return all;
}

}  // namespace fakes
