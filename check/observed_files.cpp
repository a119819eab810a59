#include "check/observed_files.h"

#include "platform/errors.h"

namespace check {

class ObservedInput : public platform::InputFile {
 public:
  ObservedInput(ObservedFiles& owner, std::unique_ptr<platform::InputFile> file, std::string path,
                bool project)
      : owner_(owner),
        file_(std::move(file)),
        path_(std::move(path)),
        project_(project),
        scan_(BestVectors(), owner.LeadBytes()) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    if (file_ == nullptr) return 0;
    std::size_t got = 0;
    try {
      got = file_->Read(buffer, size);
    } catch (const platform::FileError& error) {
      if (project_) throw;
      owner_.failures_.try_emplace(path_, error.what());
      file_.reset();
      return 0;
    }
    if (got == 0) {
      scan_.Finish();
      owner_.whole_.try_emplace(std::move(path_), std::move(scan_));
      file_.reset();
      return 0;
    }
    const std::string_view bytes(buffer, got);
    scan_.Feed(bytes);
    return got;
  }

 private:
  ObservedFiles& owner_;
  std::unique_ptr<platform::InputFile> file_;  // null once at the end or failed
  std::string path_;
  bool project_;
  TextScan scan_;
};

std::unique_ptr<platform::InputFile> ObservedFiles::OpenInput(const std::string& path) {
  const bool project = path == projectFile_;
  std::unique_ptr<platform::InputFile> file;
  try {
    file = files_.OpenInput(path);
  } catch (const platform::FileError& error) {
    if (project) throw;
    // The file reads as empty: the reader goes on, and the check reports why.
    failures_.try_emplace(path, error.what());
  }
  return std::make_unique<ObservedInput>(*this, std::move(file), path, project);
}

const TextScan* ObservedFiles::WholeScan(const std::string& path) const {
  const auto found = whole_.find(path);
  return found == whole_.end() ? nullptr : &found->second;
}

const std::string* ObservedFiles::Failure(const std::string& path) const {
  const auto found = failures_.find(path);
  return found == failures_.end() ? nullptr : &found->second;
}

}  // namespace check
