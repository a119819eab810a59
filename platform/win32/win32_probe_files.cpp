// Creating a probe file with CREATE_NEW, closing it and deleting it.
#include "platform/win32/win32_probe_files.h"

#include "platform/win32/win32_text.h"

namespace win32 {

namespace {

class Win32Probe : public platform::ProbeFile {
 public:
  explicit Win32Probe(OwnedHandle file) : file_(std::move(file)) {}
  bool Close() override { return file_.Close(); }

 private:
  OwnedHandle file_;
};

}  // namespace

platform::CreatedProbe Win32ProbeFiles::CreateExclusive(const std::string& path) {
  OwnedHandle file(
      ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Valid()) return {platform::ProbeCreate::Created, std::make_unique<Win32Probe>(std::move(file))};
  const DWORD error = ::GetLastError();
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
    return {platform::ProbeCreate::AlreadyExists, nullptr};
  return {platform::ProbeCreate::Failed, nullptr};
}

bool Win32ProbeFiles::Delete(const std::string& path) {
  return ::DeleteFileA(path.c_str()) != 0;
}

}  // namespace win32
