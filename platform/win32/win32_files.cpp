// Reading, writing and copying files for the reader and the packer, on the Windows API.
#include "platform/win32/win32_files.h"

#include <algorithm>
#include <vector>

#include "base/ascii_case.h"
#include "base/code_page_text.h"
#include "platform/errors.h"

namespace win32 {

namespace {

[[noreturn]] void ThrowLastError(const std::string& path) {
  throw platform::FileError(path, SystemReason(::GetLastError()));
}

// Writes every byte or throws.
void WriteAll(HANDLE file, const char* bytes, std::size_t size, const std::string& path) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes, chunk, &written, nullptr)) ThrowLastError(path);
    if (written == 0) throw platform::FileError(path, SystemReason(ERROR_WRITE_FAULT));
    bytes += written;
    size -= written;
  }
}

// A new, empty temporary file in the folder, open for writing and shared with nobody.
OwnedHandle CreateTemporary(const std::string& folder, const std::string& forPath, std::string& tempPath) {
  char name[MAX_PATH];
  if (::GetTempFileNameA(folder.c_str(), "tvx", 0, name) == 0) ThrowLastError(forPath);
  tempPath = name;
  OwnedHandle file(
      ::CreateFileA(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = ::GetLastError();
    ::DeleteFileA(name);
    throw platform::FileError(forPath, SystemReason(error));
  }
  return file;
}

// Flushes and closes the temporary file and renames it over the destination; the temporary file is
// gone afterwards either way.
void Commit(OwnedHandle& temp, const std::string& tempPath, const std::string& destination) {
  DWORD error = ERROR_SUCCESS;
  if (!::FlushFileBuffers(temp.Get())) error = ::GetLastError();
  if (!temp.Close() && error == ERROR_SUCCESS) error = ::GetLastError();
  if (error == ERROR_SUCCESS && !::MoveFileExA(tempPath.c_str(), destination.c_str(),
                                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = ::GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    ::DeleteFileA(tempPath.c_str());
    throw platform::FileError(destination, SystemReason(error));
  }
}

// Refuses a destination that Windows would not let a plain CopyFile replace: a folder, a device, a
// read-only file, or one another handle holds without sharing writing.
void CheckReplaceable(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return;
    throw platform::FileError(path, SystemReason(error));
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw platform::FileError(path, kNotRegularText);
  if (attributes & FILE_ATTRIBUTE_READONLY)
    throw platform::FileError(path, SystemReason(ERROR_ACCESS_DENIED));
  OwnedHandle probe(::CreateFileA(path.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe.Valid()) ThrowLastError(path);
  if (::GetFileType(probe.Get()) != FILE_TYPE_DISK) throw platform::FileError(path, kNotRegularText);
}

class Win32Input : public platform::InputFile {
 public:
  Win32Input(OwnedHandle file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
    if (!::ReadFile(file_.Get(), buffer, chunk, &read, nullptr)) ThrowLastError(path_);
    return read;
  }

 private:
  OwnedHandle file_;
  std::string path_;
};

}  // namespace

std::string FullPath(const std::string& path) {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) ThrowLastError(path);
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

std::string FolderOf(const std::string& fullPath) {
  // A "\\" that is the second byte of a double-byte character separates nothing.
  std::size_t slash = std::string::npos;
  for (std::size_t i = 0; i < fullPath.size(); ++i) {
    if (fullPath[i] == '\\') slash = i;
    if (::IsDBCSLeadByte(static_cast<BYTE>(fullPath[i])) && i + 1 < fullPath.size()) ++i;
  }
  return slash == std::string::npos ? std::string(".\\") : fullPath.substr(0, slash + 1);
}

OwnedHandle OpenDiskFileForReading(const std::string& path) {
  OwnedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.Valid()) ThrowLastError(path);
  // Devices (CON, NUL, COM1) and pipes open too; only files on a disk are read.
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK) throw platform::FileError(path, kNotRegularText);
  BY_HANDLE_FILE_INFORMATION info;
  if (::GetFileInformationByHandle(file.Get(), &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw platform::FileError(path, kNotRegularText);
  }
  return file;
}

platform::FileIdentity IdentityOf(HANDLE file, const std::string& path) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(file, &info)) ThrowLastError(path);
  return {info.dwVolumeSerialNumber, (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::unique_ptr<platform::InputFile> Win32Files::OpenInput(const std::string& path) {
  return std::make_unique<Win32Input>(OpenDiskFileForReading(path), path);
}

class Win32Output : public platform::OutputFile {
 public:
  Win32Output(Win32Files& owner, std::string path, std::string key, OwnedHandle temp, std::string tempPath)
      : owner_(owner),
        path_(std::move(path)),
        key_(std::move(key)),
        temp_(std::move(temp)),
        tempPath_(std::move(tempPath)) {}
  ~Win32Output() override {
    // Dropped without Close: the destination keeps its old content and the temporary file goes.
    if (!temp_.Valid()) return;
    owner_.pendingOutputs_.erase(key_);
    temp_.Close();
    ::DeleteFileA(tempPath_.c_str());
  }
  Win32Output(const Win32Output&) = delete;
  Win32Output& operator=(const Win32Output&) = delete;

  void Write(std::string_view bytes) override {
    if (!temp_.Valid()) throw platform::FileError(path_, SystemReason(ERROR_INVALID_HANDLE));
    try {
      WriteAll(temp_.Get(), bytes.data(), bytes.size(), path_);
    } catch (const platform::FileError&) {
      failed_ = true;
      throw;
    }
  }

  void Close() override {
    if (!temp_.Valid()) return;
    owner_.pendingOutputs_.erase(key_);
    if (failed_) {
      // Part of the text is missing: the old file is worth more than a truncated one.
      temp_.Close();
      ::DeleteFileA(tempPath_.c_str());
      throw platform::FileError(path_, SystemReason(ERROR_WRITE_FAULT));
    }
    Commit(temp_, tempPath_, path_);
  }

 private:
  Win32Files& owner_;
  std::string path_;
  std::string key_;
  OwnedHandle temp_;
  std::string tempPath_;
  bool failed_ = false;
};

std::unique_ptr<platform::OutputFile> Win32Files::CreateOutput(const std::string& path) {
  const std::string full = FullPath(path);
  const std::string key = base::LowerText(full, LeadBytes());
  if (pendingOutputs_.count(key) != 0) throw platform::FileError(path, SystemReason(ERROR_SHARING_VIOLATION));
  CheckReplaceable(full);
  std::string tempPath;
  OwnedHandle temp = CreateTemporary(FolderOf(full), path, tempPath);
  pendingOutputs_.insert(key);
  return std::make_unique<Win32Output>(*this, path, key, std::move(temp), tempPath);
}

platform::FileIdentity Win32Files::CopyReplacing(const std::string& from, const std::string& to) {
  OwnedHandle source = OpenDiskFileForReading(from);
  const platform::FileIdentity identity = IdentityOf(source.Get(), from);
  const std::string full = FullPath(to);
  if (pendingOutputs_.count(base::LowerText(full, LeadBytes())) != 0) {
    throw platform::FileError(to, SystemReason(ERROR_SHARING_VIOLATION));
  }
  {
    OwnedHandle existing(::CreateFileA(full.c_str(), 0,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (existing.Valid() && ::GetFileType(existing.Get()) == FILE_TYPE_DISK) {
      BY_HANDLE_FILE_INFORMATION info;
      if (::GetFileInformationByHandle(existing.Get(), &info) && IdentityOf(existing.Get(), to) == identity) {
        throw platform::FileError(to, "The file cannot be copied onto itself.");
      }
    }
  }
  CheckReplaceable(full);
  std::string tempPath;
  OwnedHandle temp = CreateTemporary(FolderOf(full), to, tempPath);
  try {
    std::vector<char> buffer(1u << 16);
    for (;;) {
      DWORD read = 0;
      if (!::ReadFile(source.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
        ThrowLastError(from);
      }
      if (read == 0) break;
      WriteAll(temp.Get(), buffer.data(), read, to);
    }
  } catch (const platform::FileError&) {
    temp.Close();
    ::DeleteFileA(tempPath.c_str());
    throw;
  }
  Commit(temp, tempPath, full);
  return identity;
}

std::optional<platform::FileIdentity> Win32Files::Identify(const std::string& path) {
  OwnedHandle file(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS,
                                 nullptr));
  if (!file.Valid()) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
  return platform::FileIdentity{info.dwVolumeSerialNumber,
                                (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool Win32Files::Exists(const std::string& path) {
  if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = ::GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

platform::FileState Win32Files::StateOf(const std::string& path) {
  OwnedHandle file(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                 nullptr));
  if (!file.Valid()) ThrowLastError(path);
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(file.Get(), &info)) ThrowLastError(path);
  if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
    throw platform::FileError(path, kNotRegularText);
  return platform::FileState{
      {info.dwVolumeSerialNumber, (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow},
      (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
      static_cast<int64_t>((static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                           info.ftLastWriteTime.dwLowDateTime),
      info.nNumberOfLinks};
}

std::bitset<256> Win32Files::LeadBytes() const {
  // The A entry points take paths in the ANSI code page; its lead bytes come as ranges.
  std::bitset<256> lead;
  CPINFO info;
  if (!::GetCPInfo(CP_ACP, &info)) return lead;
  for (int k = 0; k + 1 < MAX_LEADBYTES && info.LeadByte[k] != 0; k += 2) {
    for (int b = info.LeadByte[k]; b <= info.LeadByte[k + 1]; ++b) lead.set(static_cast<std::size_t>(b));
  }
  return lead;
}

void Win32Files::ReplaceWhole(const std::string& path, std::string_view bytes,
                              const platform::FileState* expected) {
  const std::string full = FullPath(path);
  if (pendingOutputs_.count(base::LowerText(full, LeadBytes())) != 0) {
    throw platform::FileError(path, SystemReason(ERROR_SHARING_VIOLATION));
  }
  if (::GetFileAttributesA(full.c_str()) == INVALID_FILE_ATTRIBUTES) ThrowLastError(path);
  CheckReplaceable(full);
  std::string tempPath;
  OwnedHandle temp = CreateTemporary(FolderOf(full), path, tempPath);
  DWORD error = ERROR_SUCCESS;
  try {
    WriteAll(temp.Get(), bytes.data(), bytes.size(), path);
  } catch (const platform::FileError&) {
    error = ERROR_WRITE_FAULT;
  }
  if (error == ERROR_SUCCESS && !::FlushFileBuffers(temp.Get())) error = ::GetLastError();
  if (!temp.Close() && error == ERROR_SUCCESS) error = ::GetLastError();
  // Just before the new file takes the name, the old one must still be the file that was read.
  if (error == ERROR_SUCCESS && expected) {
    try {
      const platform::FileState now = StateOf(full);
      if (now != *expected || now.links > 1) {
        throw platform::FileError(path, now.links > 1
                                            ? "The file has more than one name (hard links)."
                                            : "The file was changed by another program after it was read.");
      }
    } catch (const platform::FileError&) {
      ::DeleteFileA(tempPath.c_str());
      throw;
    }
  }
  // ReplaceFile keeps the original's attributes and security, which a rename over it would not.
  if (error == ERROR_SUCCESS &&
      !::ReplaceFileA(full.c_str(), tempPath.c_str(), nullptr, REPLACEFILE_WRITE_THROUGH, nullptr, nullptr)) {
    error = ::GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    ::DeleteFileA(tempPath.c_str());
    throw platform::FileError(path, SystemReason(error));
  }
}

}  // namespace win32
