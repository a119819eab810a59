// Sequential input of files named by Windows paths (code-page bytes, "\" separated).
#pragma once

#include <bitset>
#include <cstddef>
#include <memory>
#include <string>

namespace platform {

// One open file, read front to back. Closing is the destructor.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Fills up to size bytes; returns 0 only at the end of the file. Throws FileError when the read fails.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

class TextFiles {
 public:
  virtual ~TextFiles() = default;
  // Opens an existing regular file for reading. Throws FileError when it cannot.
  virtual std::unique_ptr<InputFile> OpenInput(const std::string& path) = 0;
  // The bytes that begin a two-byte character in the code page paths are written in: a "\\" after one
  // is part of a character, no separator.
  virtual std::bitset<256> LeadBytes() const { return {}; }
};

}  // namespace platform
