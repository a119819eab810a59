// Creating, closing and deleting a probe file, to learn whether a folder can be written to.
#pragma once

#include <memory>
#include <string>

namespace platform {

// A probe file open for writing; destroying it closes it if Close was not called.
class ProbeFile {
 public:
  virtual ~ProbeFile() = default;
  // False when closing failed.
  virtual bool Close() = 0;
};

enum class ProbeCreate { Created, AlreadyExists, Failed };

struct CreatedProbe {
  ProbeCreate outcome;
  std::unique_ptr<ProbeFile> file;  // set only when Created
};

class ProbeFiles {
 public:
  virtual ~ProbeFiles() = default;
  // Creates a new file for writing at the Windows path; never opens or truncates one that exists.
  virtual CreatedProbe CreateExclusive(const std::string& path) = 0;
  // Deletes the file at the Windows path; false when it cannot.
  virtual bool Delete(const std::string& path) = 0;
};

}  // namespace platform
