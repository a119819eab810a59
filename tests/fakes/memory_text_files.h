// Files held in memory under their exact Windows paths, with reads that can be made to fail.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/text_files.h"

namespace fakes {

class MemoryTextFiles : public platform::TextFiles {
 public:
  void Put(const std::string& path, std::string content) { files_[path] = std::move(content); }
  // Opening the path fails although the file exists.
  void FailOpen(const std::string& path) { failOpen_.insert(path); }
  // Reading the path fails once this many bytes have been delivered.
  void FailReadAfter(const std::string& path, std::size_t bytes) { failReadAfter_[path] = bytes; }
  // Delivers at most this many bytes per read, to exercise line ends split across reads.
  void SetChunk(std::size_t bytes) { chunk_ = bytes; }

  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override;

  const std::vector<std::string>& Opened() const { return opened_; }
  int OpenCount() const { return open_; }  // files open at this moment

 private:
  friend class MemoryInput;
  std::map<std::string, std::string> files_;
  std::set<std::string> failOpen_;
  std::map<std::string, std::size_t> failReadAfter_;
  std::size_t chunk_ = 1 << 20;
  std::vector<std::string> opened_;
  int open_ = 0;
};

// Bytes written in a test's data file: \r \n \t \\ \0 and \xHH escapes, and {COUNT*TEXT} for TEXT repeated.
std::string Unescape(const std::string& text);

}  // namespace fakes
