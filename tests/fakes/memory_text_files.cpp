#include "tests/fakes/memory_text_files.h"

#include <algorithm>
#include <cstring>
#include <limits>

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

}  // namespace fakes
