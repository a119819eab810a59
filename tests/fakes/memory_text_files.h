// Files for a reader, held in memory under their Windows paths, with opening and reading made to fail.
#pragma once

#include <string>

#include "tests/fakes/fake_pack_files.h"

namespace fakes {

class MemoryTextFiles : public InjectingPackFiles {
 public:
  MemoryTextFiles() : InjectingPackFiles(store_) {}
  void Put(const std::string& path, std::string content) { store_.Put(path, std::move(content)); }
  // Opening the path fails although the file exists.
  void FailOpen(const std::string& path) { faults.push_back({"open", path, 0}); }
  // Reading the path fails once this many bytes have been delivered.
  void FailReadAfter(const std::string& path, std::size_t bytes) { faults.push_back({"read", path, bytes}); }
  void SetChunk(std::size_t bytes) { chunk = bytes; }
  int OpenCount() const { return store_.OpenCount(); }  // files open at this moment

 private:
  FakePackFiles store_;
};

}  // namespace fakes
