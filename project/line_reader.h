// Splits a file into lines. A line ends at CR, CR LF or LF; the line ends are not part of the line.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/text_files.h"

namespace mdlFile {

class LineReader {
 public:
  explicit LineReader(platform::InputFile& file) : file_(file) {}
  // The next line into line; false at the end of the file. Throws FileError when a read fails.
  bool Next(std::string& line);
  // The next line in pieces as they are read, so that a long line need not be held whole;
  // false at the end of the file. A piece may be empty.
  bool NextInPieces(const std::function<void(std::string_view)>& piece);

 private:
  bool Fill();

  platform::InputFile& file_;
  static constexpr std::size_t kBlock = 64 * 1024;
  static constexpr std::size_t kFirstBlock = 4 * 1024;
  // Left uninitialised: a reader is made for every file opened, and the bytes are always read first.
  std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kBlock);
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;
  bool filled_ = false;
};

}  // namespace mdlFile
