// The packer's files on POSIX: reading the source project, writing the new one, copying files.
#include "platform/posix/pack_files_posix.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/errors.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/posix_text_files.h"
#include "project/mdl_trim.h"

namespace posix {

namespace {

const char* const kNotRegular = "Not a regular file";
const char* const kInUse = "The process cannot access the file because it is being used by another process.";
const char* const kOwnSource = "The file cannot be copied onto itself.";
const char* const kNotInFolder = "The file name does not name a file in the folder.";

const char* const kNoFile = "The system cannot find the file specified.";
const char* const kNoPath = "The system cannot find the path specified.";

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

platform::FileIdentity IdentityOf(const struct stat& st) {
  return platform::FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

// Without any write permission bit a file is read-only, as Windows' attribute is, also for root.
bool ReadOnly(const struct stat& st) {
  return (st.st_mode & 0222) == 0;
}

std::string HostFolderOf(const std::string& hostPath) {
  const auto slash = hostPath.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : hostPath.substr(0, slash);
}

// A folder without write permission bits takes no new files, whoever asks.
void RequireWritableFolder(const std::string& hostPath, const std::string& windowsPath) {
  struct stat st {};
  if (::stat(HostFolderOf(hostPath).c_str(), &st) != 0)
    throw platform::FileError(windowsPath, SystemReason(errno));
  if (ReadOnly(st)) throw platform::FileError(windowsPath, SystemReason(EACCES));
}

void WriteAll(int fd, const char* data, std::size_t size, const std::string& windowsPath) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw platform::FileError(windowsPath, SystemReason(errno));
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

// Copies the rest of in to out through the kernel where it can, else through a buffer.
void CopyData(int in, int out, off_t size, const std::string& from, const std::string& to) {
  constexpr std::size_t kChunk = std::size_t{1} << 30;
  off_t copied = 0;
  bool kernel = true;
  while (kernel) {
    const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
    if (n > 0) {
      copied += n;
      continue;
    }
    if (n == 0 && copied >= size) return;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP &&
        errno != EPERM) {
      throw platform::FileError(to, SystemReason(errno));
    }
    kernel = false;  // this pair of file systems cannot; 0 early means the kernel gave up on it
  }
  while (copied < size) {
    const ssize_t n = ::sendfile(out, in, nullptr, static_cast<std::size_t>(size - copied));
    if (n > 0) {
      copied += n;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EINVAL && errno != ENOSYS) throw platform::FileError(to, SystemReason(errno));
    break;
  }
  std::vector<char> buffer(std::size_t{1} << 20);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n == 0) return;
    if (n < 0) {
      if (errno == EINTR) continue;
      throw platform::FileError(from, SystemReason(errno));
    }
    WriteAll(out, buffer.data(), static_cast<std::size_t>(n), to);
  }
}

class PackInput : public platform::InputFile {
 public:
  PackInput(PosixPackFiles& owner, FileDescriptor fd, platform::FileIdentity id, std::string path)
      : owner_(owner), fd_(std::move(fd)), id_(id), path_(std::move(path)) {
    owner_.Hold(id_);
  }
  ~PackInput() override { owner_.Release(id_); }
  PackInput(const PackInput&) = delete;
  PackInput& operator=(const PackInput&) = delete;

  std::size_t Read(char* buffer, std::size_t size) override {
    return ReadSome(fd_, buffer, size, path_);
  }

 private:
  PosixPackFiles& owner_;
  FileDescriptor fd_;
  platform::FileIdentity id_;
  std::string path_;
};

class PackOutput : public platform::OutputFile {
 public:
  PackOutput(PosixPackFiles& owner, FileDescriptor fd, platform::FileIdentity id, std::string path)
      : owner_(owner), fd_(std::move(fd)), id_(id), path_(std::move(path)) {
    owner_.Hold(id_);
  }
  ~PackOutput() override { Release(); }
  PackOutput(const PackOutput&) = delete;
  PackOutput& operator=(const PackOutput&) = delete;

  void Write(std::string_view bytes) override {
    if (!fd_.Valid()) throw platform::FileError(path_, SystemReason(EBADF));
    pending_.append(bytes);
    if (pending_.size() >= kFlushAt) Flush();
  }

  void Close() override {
    if (!fd_.Valid()) throw platform::FileError(path_, SystemReason(EBADF));
    int error = 0;
    try {
      Flush();
    } catch (const platform::FileError&) {
      error = errno;
    }
    // A full disk or a failing device may show only when the data is forced out.
    if (error == 0 && ::fsync(fd_.Get()) != 0 && errno != EINVAL && errno != EROFS) error = errno;
    const int closeError = fd_.Close();
    if (error == 0) error = closeError;
    Release();
    if (error != 0) throw platform::FileError(path_, SystemReason(error));
  }

 private:
  static constexpr std::size_t kFlushAt = 64 * 1024;

  void Flush() {
    std::string out;
    out.swap(pending_);
    WriteAll(fd_.Get(), out.data(), out.size(), path_);
  }
  void Release() {
    if (held_) owner_.Release(id_);
    held_ = false;
  }

  PosixPackFiles& owner_;
  FileDescriptor fd_;
  platform::FileIdentity id_;
  std::string path_;
  std::string pending_;
  bool held_ = true;
};

// A temporary file that disappears unless it was renamed into place.
class TemporaryFile {
 public:
  TemporaryFile(std::string hostPath, FileDescriptor fd) : path_(std::move(hostPath)), fd_(std::move(fd)) {}
  ~TemporaryFile() {
    fd_.Close();
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int Fd() const { return fd_.Get(); }
  int Close() { return fd_.Close(); }
  const std::string& Path() const { return path_; }
  void Kept() { path_.clear(); }

 private:
  std::string path_;
  FileDescriptor fd_;
};

}  // namespace

PosixPackFiles::PosixPackFiles(const platform::CodePage& codePage)
    : codePage_(codePage), random_(std::random_device{}()) {}

void PosixPackFiles::Release(const platform::FileIdentity& file) {
  const auto found = inUse_.find(file);
  if (found != inUse_.end() && --found->second == 0) inUse_.erase(found);
  if (inUse_.empty()) {
    // The pack is over; the next one sees the folders as they are then.
    folders_.clear();
    listings_.clear();
  }
}

const std::unordered_map<std::string, std::string>& PosixPackFiles::FoldedNames(
    const std::string& hostFolder) {
  const auto found = listings_.find(hostFolder);
  if (found != listings_.end()) return found->second;
  std::unordered_map<std::string, std::string>& names = listings_[hostFolder];
  const std::unique_ptr<DIR, DirCloser> dir(::opendir(hostFolder.c_str()));
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string host = entry->d_name;
    if (host == "." || host == "..") continue;
    const auto asCodePage = codePage_.FromUtf8(host);
    if (!asCodePage) continue;
    // The first match in byte order wins, as the lookup by name does.
    auto [slot, added] = names.try_emplace(mdlTrim::LowerAscii(*asCodePage), host);
    if (!added && host < slot->second) slot->second = host;
  }
  return names;
}

void PosixPackFiles::Created(const std::string& hostPath) {
  const std::string folder = HostFolderOf(hostPath);
  const auto listing = listings_.find(folder);
  if (listing == listings_.end()) return;
  const std::string name = hostPath.substr(hostPath.rfind('/') + 1);
  if (const auto asCodePage = codePage_.FromUtf8(name)) {
    auto [slot, added] = listing->second.try_emplace(mdlTrim::LowerAscii(*asCodePage), name);
    if (!added && name < slot->second) slot->second = name;
  }
}

std::string PosixPackFiles::HostOf(const std::string& path, bool allowMissingLeaf) {
  if (inUse_.empty()) return HostFromWindows(path, codePage_, allowMissingLeaf);
  const std::vector<std::string> names = WindowsNames(path);
  const auto cut = path.find_last_of("\\/");
  const std::string leaf = cut == std::string::npos ? path : path.substr(cut + 1);
  // Only a plain last name is looked up here; anything that clean-up changes takes the long way.
  if (names.empty() || leaf != names.back()) return HostFromWindows(path, codePage_, allowMissingLeaf);
  const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut);
  auto known = folders_.find(folder);
  if (known == folders_.end()) {
    std::string hostFolder;
    try {
      hostFolder = HostFromWindows(folder, codePage_);
    } catch (const platform::FileError&) {
      throw platform::FileError(path, kNoPath);
    }
    known = folders_.emplace(folder, std::move(hostFolder)).first;
  }
  const std::string& hostFolder = known->second;
  const std::string exact = (hostFolder == "/" ? "" : hostFolder) + "/" + codePage_.ToUtf8(leaf);
  struct stat st {};
  if (::lstat(exact.c_str(), &st) == 0) return exact;
  const auto& folded = FoldedNames(hostFolder);
  const auto match = folded.find(mdlTrim::LowerAscii(leaf));
  if (match != folded.end()) return (hostFolder == "/" ? "" : hostFolder) + "/" + match->second;
  if (allowMissingLeaf) return exact;
  throw platform::FileError(path, kNoFile);
}

void PosixPackFiles::ReplaceLinkWithEmptyFile(const std::string& host, const std::string& path) {
  RequireWritableFolder(host, path);
  const std::string hostFolder = HostFolderOf(host);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temporary = hostFolder + "/" + TemporaryName();
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666));
    if (!fd.Valid() && errno == EEXIST) continue;
    if (!fd.Valid()) throw platform::FileError(path, SystemReason(errno));
    TemporaryFile empty(temporary, std::move(fd));
    if (::rename(temporary.c_str(), host.c_str()) != 0) throw platform::FileError(path, SystemReason(errno));
    empty.Kept();
    return;
  }
  throw platform::FileError(path, SystemReason(EEXIST));
}

std::string PosixPackFiles::TemporaryName() {
  char name[32];
  std::snprintf(name, sizeof name, ".tarvex-%016llx.tmp", static_cast<unsigned long long>(random_()));
  return name;
}

std::unique_ptr<platform::InputFile> PosixPackFiles::OpenInput(const std::string& path) {
  const std::string host = HostOf(path, false);
  FileDescriptor fd = OpenRegularForReading(host, path);
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) throw platform::FileError(path, SystemReason(errno));
  return std::make_unique<PackInput>(*this, std::move(fd), IdentityOf(st), path);
}

std::unique_ptr<platform::OutputFile> PosixPackFiles::CreateOutput(const std::string& path) {
  const std::string host = HostOf(path, true);
  // A symbolic link under the name is replaced by a new empty file, as a copy replaces one: writing
  // through it would empty whatever it points to, a source file or a file outside the folder.
  struct stat link {};
  if (::lstat(host.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) ReplaceLinkWithEmptyFile(host, path);
  // Everything that would refuse the file is checked before it is opened: opening a device or FIFO
  // for writing may block or act on it, and an existing file is emptied only once it is known to be ours.
  struct stat before {};
  const bool existed = ::stat(host.c_str(), &before) == 0;
  if (existed) {
    if (!S_ISREG(before.st_mode)) throw platform::FileError(path, kNotRegular);
    if (InUse(IdentityOf(before))) throw platform::FileError(path, kInUse);
    if (ReadOnly(before)) throw platform::FileError(path, SystemReason(EACCES));
  } else {
    RequireWritableFolder(host, path);
  }
  FileDescriptor fd(
      ::open(host.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW, 0666));
  if (!fd.Valid()) throw platform::FileError(path, SystemReason(errno));
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) throw platform::FileError(path, SystemReason(errno));
  // The name may have changed hands in between; what was opened is checked again.
  if (!S_ISREG(st.st_mode)) throw platform::FileError(path, kNotRegular);
  if (InUse(IdentityOf(st))) throw platform::FileError(path, kInUse);
  if (ReadOnly(st)) throw platform::FileError(path, SystemReason(EACCES));
  if (::ftruncate(fd.Get(), 0) != 0) throw platform::FileError(path, SystemReason(errno));
  return std::make_unique<PackOutput>(*this, std::move(fd), IdentityOf(st), path);
}

platform::FileIdentity PosixPackFiles::CopyReplacing(const std::string& from, const std::string& to) {
  // The destination's own name must be one name in its folder; "/" would reach elsewhere.
  const auto cut = to.rfind('\\');
  const std::string folder = cut == std::string::npos ? std::string() : to.substr(0, cut);
  const std::string leaf = cut == std::string::npos ? to : to.substr(cut + 1);
  if (leaf.find('/') != std::string::npos || WindowsNames(to).size() != WindowsNames(folder).size() + 1) {
    throw platform::FileError(to, kNotInFolder);
  }

  const std::string sourceHost = HostOf(from, false);
  struct stat source {};
  if (::stat(sourceHost.c_str(), &source) != 0) throw platform::FileError(from, SystemReason(errno));
  if (!S_ISREG(source.st_mode)) throw platform::FileError(from, kNotRegular);
  FileDescriptor in = OpenRegularForReading(sourceHost, from);
  if (::fstat(in.Get(), &source) != 0) throw platform::FileError(from, SystemReason(errno));
  const platform::FileIdentity sourceId = IdentityOf(source);

  const std::string host = HostOf(to, true);
  struct stat old {};
  // A symbolic link under the name is replaced itself; what it points to is never written.
  if (::lstat(host.c_str(), &old) == 0 && !S_ISLNK(old.st_mode)) {
    if (!S_ISREG(old.st_mode)) throw platform::FileError(to, kNotRegular);
    if (IdentityOf(old) == sourceId) throw platform::FileError(to, kOwnSource);
    if (InUse(IdentityOf(old))) throw platform::FileError(to, kInUse);
    if (ReadOnly(old)) throw platform::FileError(to, SystemReason(EACCES));
  }
  RequireWritableFolder(host, to);

  const std::string hostFolder = HostFolderOf(host);
  std::string temporary;
  FileDescriptor out;
  for (int attempt = 0; attempt < 100 && !out.Valid(); ++attempt) {
    temporary = hostFolder + "/" + TemporaryName();
    out = FileDescriptor(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666));
    if (!out.Valid() && errno != EEXIST) throw platform::FileError(to, SystemReason(errno));
  }
  if (!out.Valid()) throw platform::FileError(to, SystemReason(EEXIST));
  TemporaryFile copy(temporary, std::move(out));
  CopyData(in.Get(), copy.Fd(), source.st_size, from, to);
  if (const int error = copy.Close(); error != 0) throw platform::FileError(to, SystemReason(error));
  if (::rename(copy.Path().c_str(), host.c_str()) != 0) throw platform::FileError(to, SystemReason(errno));
  copy.Kept();
  Created(host);
  return sourceId;
}

bool PosixPackFiles::Exists(const std::string& path) {
  std::string host;
  try {
    host = HostOf(path, false);
  } catch (const platform::FileError&) {
    return false;
  }
  struct stat st {};
  return ::stat(host.c_str(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

void PosixPackFiles::ReplaceWhole(const std::string& path, std::string_view bytes) {
  const std::string host = HostOf(path, false);
  // A symbolic link is refused rather than replaced or written through: either would reach a file
  // other than the one named.
  struct stat old {};
  if (::lstat(host.c_str(), &old) != 0) throw platform::FileError(path, SystemReason(errno));
  if (!S_ISREG(old.st_mode)) throw platform::FileError(path, kNotRegular);
  if (InUse(IdentityOf(old))) throw platform::FileError(path, kInUse);
  if (ReadOnly(old)) throw platform::FileError(path, SystemReason(EACCES));
  RequireWritableFolder(host, path);
  const std::string hostFolder = HostFolderOf(host);
  std::string temporary;
  FileDescriptor out;
  for (int attempt = 0; attempt < 100 && !out.Valid(); ++attempt) {
    temporary = hostFolder + "/" + TemporaryName();
    out = FileDescriptor(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0600));
    if (!out.Valid() && errno != EEXIST) throw platform::FileError(path, SystemReason(errno));
  }
  if (!out.Valid()) throw platform::FileError(path, SystemReason(EEXIST));
  TemporaryFile replacement(temporary, std::move(out));
  if (::fchmod(replacement.Fd(), old.st_mode & 07777) != 0) throw platform::FileError(path, SystemReason(errno));
  WriteAll(replacement.Fd(), bytes.data(), bytes.size(), path);
  if (::fsync(replacement.Fd()) != 0 && errno != EINVAL && errno != EROFS) {
    throw platform::FileError(path, SystemReason(errno));
  }
  if (const int error = replacement.Close(); error != 0) throw platform::FileError(path, SystemReason(error));
  if (::rename(replacement.Path().c_str(), host.c_str()) != 0) throw platform::FileError(path, SystemReason(errno));
  replacement.Kept();
}

}  // namespace posix
