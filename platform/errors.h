// Errors the core raises or receives from its platform.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

// An error raised to the caller, carrying its number (an error number such as 5, or an HRESULT).
class RaisedError : public std::runtime_error {
 public:
  RaisedError(int32_t number, const std::string& what) : std::runtime_error(what), number_(number) {}
  int32_t Number() const { return number_; }

 private:
  int32_t number_;
};

// A file operation that failed; what() is the system's reason, Path() the Windows path it was about.
class FileError : public std::runtime_error {
 public:
  FileError(std::string path, const std::string& reason)
      : std::runtime_error(reason), path_(std::move(path)) {}
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace platform
