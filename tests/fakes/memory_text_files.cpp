#include "tests/fakes/memory_text_files.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "platform/errors.h"

namespace fakes {

class MemoryInput : public platform::InputFile {
 public:
  MemoryInput(MemoryTextFiles& owner, std::string path, const std::string& content, std::size_t failAfter)
      : owner_(owner), path_(std::move(path)), content_(content), failAfter_(failAfter) {
    ++owner_.open_;
  }
  ~MemoryInput() override { --owner_.open_; }

  std::size_t Read(char* buffer, std::size_t size) override {
    if (offset_ >= failAfter_) throw platform::FileError(path_, "injected read failure");
    std::size_t n = std::min({size, owner_.chunk_, content_.size() - offset_, failAfter_ - offset_});
    std::memcpy(buffer, content_.data() + offset_, n);
    offset_ += n;
    return n;
  }

 private:
  MemoryTextFiles& owner_;
  std::string path_;
  std::string content_;
  std::size_t failAfter_;
  std::size_t offset_ = 0;
};

std::unique_ptr<platform::InputFile> MemoryTextFiles::OpenInput(const std::string& path) {
  opened_.push_back(path);
  const auto found = files_.find(path);
  if (found == files_.end()) throw platform::FileError(path, "File not found");
  if (failOpen_.count(path) != 0) throw platform::FileError(path, "injected open failure");
  const auto fail = failReadAfter_.find(path);
  const std::size_t failAfter = fail == failReadAfter_.end() ? std::numeric_limits<std::size_t>::max() : fail->second;
  return std::make_unique<MemoryInput>(*this, path, found->second, failAfter);
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') {
      const std::size_t star = text.find('*', i), end = text.find('}', i);
      const std::string piece = Unescape(text.substr(star + 1, end - star - 1));
      for (long n = std::stol(text.substr(i + 1, star - i - 1)); n > 0; --n) out += piece;
      i = end;
    } else if (text[i] != '\\') {
      out += text[i];
    } else {
      const char c = text[++i];
      if (c == 'x') {
        out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c == '0' ? '\0' : c;
      }
    }
  }
  return out;
}

}  // namespace fakes
