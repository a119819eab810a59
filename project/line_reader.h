// Splits a file into lines. A line ends at CR, CR LF or LF; the line ends are not part of the line.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
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
  std::array<char, 64 * 1024> buffer_{};
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;
};

}  // namespace mdlFile
