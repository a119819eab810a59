// Files for tests: an in-memory file system with hard links, read-only and special files and files in
// use; and a layer over any pack files that makes chosen steps fail. Both serve readers as well.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/pack_files.h"

namespace fakes {

class FakePackFiles : public platform::PackFiles, public platform::TextFiles {
 public:
  // Paths are Windows paths; like Windows, the fake ignores case and resolves "." and "..".
  void Put(const std::string& path, std::string content) { Name(path, NewNode(Node{std::move(content)})); }
  // A hard link: a second name of the file.
  void Link(const std::string& file, const std::string& alias) { Name(alias, entries_.at(Key(file)).node); }
  // A folder, FIFO or device.
  void PutSpecial(const std::string& path) { Name(path, NewNode(Node{"", false})); }
  void SetReadOnly(const std::string& path) { nodes_[entries_.at(Key(path)).node].readOnly = true; }

  std::optional<std::string> Content(const std::string& path) const;
  int OpenCount() const { return openCount_; }
  // Every path written (as Key) and every copy made, in order.
  const std::vector<std::string>& Written() const { return written_; }
  const std::vector<std::pair<std::string, platform::FileIdentity>>& Copies() const { return copies_; }
  // Every name (as Key) with what it shows: its name as written, its kind, whether read-only, its bytes.
  std::map<std::string, std::string> Snapshot() const;

  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override;
  std::unique_ptr<platform::OutputFile> CreateOutput(const std::string& path) override;
  platform::FileIdentity CopyReplacing(const std::string& from, const std::string& to) override;
  bool Exists(const std::string& path) override { return entries_.count(Key(path)) != 0; }
  std::optional<platform::FileIdentity> Identify(const std::string& path) override;
  platform::FileState StateOf(const std::string& path) override;
  void ReplaceWhole(const std::string& path, std::string_view bytes,
                    const platform::FileState* expected = nullptr) override;

  // A path as this fake resolves it: ASCII case folded, "\\" and "/" separating, "." and ".." applied.
  static std::string Key(const std::string& path);

 private:
  friend class FakeFile;
  friend class FakeOutput;
  struct Node {
    std::string content;
    bool regular = true;
    bool readOnly = false;
    int users = 0;  // handles open on it
  };
  struct Entry {
    std::string shownName;
    int node;
  };

  // The node under the path, which must be a regular file; and one that may also be written over: not
  // in use, not read-only.
  int Regular(const std::string& path);
  int Replaceable(const std::string& path);
  int NewNode(Node node);
  // Gives the node a name, as written there.
  void Name(const std::string& path, int node) {
    entries_[Key(path)] = Entry{path.substr(path.find_last_of("\\/") + 1), node};
  }

  std::map<std::string, Entry> entries_;  // by Key
  std::map<int, Node> nodes_;
  int nextNode_ = 1;
  int openCount_ = 0;
  std::vector<std::string> written_;
  std::vector<std::pair<std::string, platform::FileIdentity>> copies_;
  std::map<std::string, int> pending_;  // new files not yet under their names (by Key) -> open outputs
};

// Passes every step on to other pack files, failing the steps of `faults`: a step ("open", "read",
// "create", "write", "close", "copy", "replace") on a path ending in `path` (as Key folds both; empty for
// any path; for a copy the source's or the destination's). A read fails once `after` bytes are delivered,
// a write when it is the one numbered `after` (from 0, counted over every output). A failure says
// "injected STEP failure".
class InjectingPackFiles : public platform::PackFiles, public platform::TextFiles {
 public:
  struct Fault {
    std::string step, path;
    std::size_t after = 0;
  };
  explicit InjectingPackFiles(platform::PackFiles& files) : files_(files) {}
  InjectingPackFiles(const InjectingPackFiles&) = delete;

  std::vector<Fault> faults;
  // A full disk: the bytes it still takes, counted over every write and copy; a write or copy past them
  // fails with kDiskFull.
  std::optional<std::size_t> diskSpace;
  // The process killed: the step numbered so (from 0, counting every open, create, write, close and copy)
  // throws Killed instead of happening.
  std::optional<std::size_t> killAtStep;
  struct Killed {};
  static constexpr const char* kDiskFull = "There is not enough space on the disk.";
  std::set<std::string> failedWrites;                     // every output path a write or close failed on
  std::function<void(const std::string& to)> beforeCopy;  // another program at work on the name
  std::size_t chunk = std::size_t(-1);  // the most bytes one read delivers, to put line ends across reads
  std::vector<std::string> opened;      // every path opened for reading, in order
  std::vector<std::string> copiedFrom;  // every path a copy was asked from, in order
  int Failures() const { return failures_; }  // every step that failed, injected or not

  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override;
  std::unique_ptr<platform::OutputFile> CreateOutput(const std::string& path) override;
  platform::FileIdentity CopyReplacing(const std::string& from, const std::string& to) override;
  bool Exists(const std::string& path) override { return files_.Exists(path); }
  std::optional<platform::FileIdentity> Identify(const std::string& path) override {
    return files_.Identify(path);
  }
  platform::FileState StateOf(const std::string& path) override { return files_.StateOf(path); }
  void ReplaceWhole(const std::string& path, std::string_view bytes,
                    const platform::FileState* expected = nullptr) override;

 private:
  friend class InjectedFile;
  // The first fault of the step on the path (and numbered so, if a number is given).
  const Fault* Hit(const std::string& step, const std::string& path,
                   std::optional<std::size_t> number = {}) const;
  void Check(const std::string& step, const std::string& path) {
    Step();
    if (Hit(step, path)) Refuse(step, path);
  }
  // Counts a step, and kills the process at the chosen one.
  void Step() {
    if (killAtStep && steps_++ == *killAtStep) throw Killed{};
  }
  // Takes the bytes from the disk's space, or fails as a full disk does.
  void Take(std::size_t bytes, const std::string& path) {
    if (!diskSpace) return;
    if (bytes > *diskSpace) {
      *diskSpace = 0;
      ++failures_;
      throw platform::FileError(path, kDiskFull);
    }
    *diskSpace -= bytes;
  }
  [[noreturn]] void Refuse(const std::string& step, const std::string& path);
  // Runs a step of the files below, counting its failure.
  template <class Step>
  auto Counted(Step step) -> decltype(step()) {
    try {
      return step();
    } catch (const platform::FileError&) {
      ++failures_;
      throw;
    }
  }

  platform::PackFiles& files_;
  std::size_t writes_ = 0;
  std::size_t steps_ = 0;
  int failures_ = 0;
};

}  // namespace fakes
