#include "project/line_reader.h"

#include <cstring>

namespace mdlFile {

bool LineReader::Fill() {
  if (atEnd_) return false;
  begin_ = 0;
  // The first read is small: most callers stop within a file's first lines.
  end_ = file_.Read(buffer_.get(), filled_ ? kBlock : kFirstBlock);
  filled_ = true;
  if (end_ == 0) atEnd_ = true;
  return end_ != 0;
}

bool LineReader::Next(std::string& line) {
  line.clear();
  return NextInPieces([&line](std::string_view piece) { line.append(piece); });
}

bool LineReader::NextInPieces(const std::function<void(std::string_view)>& piece) {
  if (begin_ == end_ && !Fill()) return false;
  for (;;) {
    const char* start = buffer_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const char* cr = static_cast<const char*>(std::memchr(start, '\r', available));
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', cr ? cr - start : available));
    const char* stop = lf ? lf : cr;
    if (stop == nullptr) {
      piece(std::string_view(start, available));
      begin_ = end_;
      if (!Fill()) return true;  // the last line has no line end
      continue;
    }
    piece(std::string_view(start, stop - start));
    begin_ += (stop - start) + 1;
    if (*stop == '\r') {
      // A CR LF pair is one line end, also when the LF is in the next block.
      if (begin_ == end_) Fill();
      if (begin_ < end_ && buffer_[begin_] == '\n') ++begin_;
    }
    return true;
  }
}

}  // namespace mdlFile
