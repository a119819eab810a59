// An in-memory file system for the packer, with hard links, read-only and special files, files in
// use, and any single step made to fail.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/pack_files.h"

namespace fakes {

class FakePackFiles : public platform::PackFiles {
 public:
  enum class Step { Open, Read, Create, Write, Close, Copy };

  // Paths are Windows paths; like Windows, the fake ignores case and resolves "." and "..".
  void Put(const std::string& path, std::string content);
  void Link(const std::string& existing, const std::string& alias);  // a hard link
  void PutSpecial(const std::string& path);                          // a folder, FIFO or device
  void SetReadOnly(const std::string& path);

  // Makes the step fail on this path (for a copy, the source's or the destination's).
  void Fail(Step step, const std::string& path) { injected_.insert({step, Key(path)}); }
  // Reading the path fails once this many bytes have been delivered.
  void FailReadAfter(const std::string& path, std::size_t bytes) { failReadAfter_[Key(path)] = bytes; }
  // The write with this number (from 0, counted over every output) fails.
  void FailWrite(int number) { failWrite_ = number; }

  std::optional<std::string> Content(const std::string& path) const;
  int OpenCount() const { return openCount_; }
  // What the fake has seen: every step that failed, every path written (as Key), every copy made.
  int Failures() const { return failures_; }
  const std::vector<std::string>& Written() const { return written_; }
  const std::vector<std::pair<std::string, platform::FileIdentity>>& Copies() const { return copies_; }
  // Every name (as Key) with what it shows: its name as written, its kind, whether read-only, its bytes.
  std::map<std::string, std::string> Snapshot() const;

  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override;
  std::unique_ptr<platform::OutputFile> CreateOutput(const std::string& path) override;
  platform::FileIdentity CopyReplacing(const std::string& from, const std::string& to) override;
  bool Exists(const std::string& path) override;
  void ReplaceWhole(const std::string& path, std::string_view bytes) override;

  // A path as this fake resolves it: ASCII case folded, "\\" and "/" separating, "." and ".." applied.
  static std::string Key(const std::string& path);

 private:
  friend class FakeHandle;
  friend class FakeInput;
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

  bool Failing(Step step, const std::string& path) const { return injected_.count({step, Key(path)}) != 0; }
  // Throws unless the file may be written over: a regular file, not in use, not read-only.
  void Replaceable(const Node& node, const std::string& path);
  [[noreturn]] void Refuse(const std::string& path, const std::string& reason);
  int NewNode(Node node);

  std::map<std::string, Entry> entries_;  // by Key
  std::map<int, Node> nodes_;
  int nextNode_ = 1;
  std::set<std::pair<Step, std::string>> injected_;
  std::map<std::string, std::size_t> failReadAfter_;
  int failWrite_ = -1;
  int writes_ = 0;
  int openCount_ = 0;
  int failures_ = 0;
  std::vector<std::string> written_;
  std::vector<std::pair<std::string, platform::FileIdentity>> copies_;
};

}  // namespace fakes
