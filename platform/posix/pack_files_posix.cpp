// The packer's files on POSIX: reading the source project, writing the new one, copying files.
#include "platform/posix/pack_files_posix.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "base/ascii_case.h"
#include "base/code_page_text.h"
#include "base/windows_path.h"
#include "platform/errors.h"
#include "platform/posix/error_texts.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/posix_text_files.h"

namespace posix {

namespace {

// The reasons shared with the rest of the POSIX layer come from its one list.
const char* const kNotRegular = kNotRegularText;
const char* const kInUse = kInUseText;
const char* const kOwnSource = "The file cannot be copied onto itself.";
const char* const kNotInFolder = "The file name does not name a file in the folder.";

const char* const kNoFile = kNoFileText;
const char* const kChanged = "The file was changed by another program after it was read.";
const char* const kLinked =
    "The file has more than one name (hard links); a new file under one name would split them.";

platform::FileState StateFrom(const struct stat& st) {
  return platform::FileState{
      platform::FileIdentity{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)},
      static_cast<uint64_t>(st.st_size),
      static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
      static_cast<uint64_t>(st.st_nlink)};
}
const char* const kNoPath = kNoPathText;

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

// Why a folder takes no new files, or 0: without write permission bits it takes none, whoever asks.
int FolderRefusal(const std::string& hostFolder) {
  struct stat st {};
  if (::stat(hostFolder.c_str(), &st) != 0) return errno;
  return ReadOnly(st) ? EACCES : 0;
}

// Opens a regular file for reading without blocking on FIFOs or devices, and tells what it opened.
FileDescriptor OpenRegular(const std::string& host, const std::string& windowsPath, struct stat& st) {
  FileDescriptor fd(::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd.Valid()) throw platform::FileError(windowsPath, SystemReason(errno));
  if (::fstat(fd.Get(), &st) != 0) throw platform::FileError(windowsPath, SystemReason(errno));
  if (!S_ISREG(st.st_mode)) throw platform::FileError(windowsPath, kNotRegular);
  return fd;
}

// Whether a failed O_TMPFILE open means only that the file system has no unnamed files.
bool NoUnnamedFiles(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOSYS;
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
      // The size was taken when the file was opened: one call usually copies it all.
      if (copied >= size) return;
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

  std::size_t Read(char* buffer, std::size_t size) override { return ReadSome(fd_, buffer, size, path_); }

 private:
  PosixPackFiles& owner_;
  FileDescriptor fd_;
  platform::FileIdentity id_;
  std::string path_;
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
  FileDescriptor TakeFd() { return std::move(fd_); }
  int Close() { return fd_.Close(); }
  const std::string& Path() const { return path_; }
  void Kept() { path_.clear(); }

 private:
  std::string path_;
  FileDescriptor fd_;
};

// A new file under a fresh name in the folder, created exclusively so that no existing file is opened;
// failures are reported against the path being written.
template <typename NewName>
TemporaryFile CreateTemporaryIn(const std::string& hostFolder, const std::string& path, mode_t mode,
                                NewName newName) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temporary = hostFolder + "/" + newName();
    FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode));
    if (fd.Valid()) return TemporaryFile(std::move(temporary), std::move(fd));
    if (errno != EEXIST) throw platform::FileError(path, SystemReason(errno));
  }
  throw platform::FileError(path, SystemReason(EEXIST));
}

// Gives the unnamed file open as fd the name host, replacing what is there: its /proc entry is linked
// in under the name, which fails rather than replace a file, so an existing file is replaced by a fresh
// name renamed over it, a name that stands only for that moment. 0, or the errno.
template <typename NewName>
int LinkInPlace(int fd, const std::string& host, NewName newName,
                const std::function<void()>& beforeRename = {}) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, host.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  if (errno != EEXIST) return errno;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string fresh = HostFolderOf(host) + "/" + newName();
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, fresh.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      return errno;
    }
    try {
      if (beforeRename) beforeRename();
    } catch (const platform::FileError&) {
      ::unlink(fresh.c_str());
      throw;
    }
    if (::rename(fresh.c_str(), host.c_str()) == 0) return 0;
    const int error = errno;
    ::unlink(fresh.c_str());
    return error;
  }
  return EEXIST;
}

// The new project file: written to a temporary file in the folder (unnamed where the file system has
// such files) and put under its name by Close in one rename; destroyed without Close it leaves nothing.
class PackOutput : public platform::OutputFile {
 public:
  PackOutput(PosixPackFiles& owner, FileDescriptor fd, std::string temporary, std::string host,
             std::string path)
      : owner_(owner),
        fd_(std::move(fd)),
        temporary_(std::move(temporary)),
        host_(std::move(host)),
        path_(std::move(path)) {
    owner_.Pending(host_, true);
  }
  ~PackOutput() override { Drop(); }
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
    try {
      if (error == 0) error = owner_.PutInPlace(fd_.Get(), temporary_, host_, path_);
    } catch (const platform::FileError&) {
      Drop();
      throw;
    }
    if (error != 0) {
      Drop();
      throw platform::FileError(path_, SystemReason(error));
    }
    temporary_.clear();
    fd_.Close();
    owner_.Created(host_);
    Release();
  }

 private:
  static constexpr std::size_t kFlushAt = 64 * 1024;

  void Flush() {
    std::string out;
    out.swap(pending_);
    WriteAll(fd_.Get(), out.data(), out.size(), path_);
  }
  void Drop() {
    fd_.Close();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    Release();
  }
  void Release() {
    if (held_) owner_.Pending(host_, false);
    held_ = false;
  }

  PosixPackFiles& owner_;
  FileDescriptor fd_;
  std::string temporary_;  // the temporary file's name, empty for an unnamed one
  std::string host_;
  std::string path_;
  std::string pending_;
  bool held_ = true;
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
    writable_.clear();
  }
}

FolderListing& PosixPackFiles::ListingOf(const std::string& hostFolder) {
  auto found = listings_.find(hostFolder);
  if (found == listings_.end())
    found = listings_.emplace(hostFolder, FolderListing::Read(hostFolder, codePage_)).first;
  return found->second;
}

void PosixPackFiles::Created(const std::string& hostPath) {
  const auto listing = listings_.find(HostFolderOf(hostPath));
  if (listing == listings_.end() || !listing->second.complete()) return;
  listing->second.Add(hostPath.substr(hostPath.rfind('/') + 1), DT_REG);
}

void PosixPackFiles::RequireWritableFolder(const std::string& hostPath, const std::string& windowsPath) {
  const std::string folder = HostFolderOf(hostPath);
  int refusal = 0;
  if (inUse_.empty()) {
    refusal = FolderRefusal(folder);
  } else {
    const auto known = writable_.find(folder);
    refusal = known != writable_.end() ? known->second
                                       : writable_.emplace(folder, FolderRefusal(folder)).first->second;
  }
  if (refusal != 0) throw platform::FileError(windowsPath, SystemReason(refusal));
}

PosixPackFiles::Found PosixPackFiles::Find(const std::string& path, bool allowMissingLeaf) {
  if (inUse_.empty()) return Found{HostFromWindows(path, codePage_, allowMissingLeaf)};
  const std::vector<std::string> names = WindowsNames(path, codePage_.LeadBytes());
  const auto split = base::SplitWindowsPath(path, codePage_.LeadBytes());
  const std::string leaf(split.name);
  // Only a plain last name is looked up here; anything that clean-up changes takes the long way.
  if (names.empty() || leaf != names.back()) return Found{HostFromWindows(path, codePage_, allowMissingLeaf)};
  const std::string folder(split.folder);
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
  const std::string prefix = hostFolder == "/" ? "/" : hostFolder + "/";
  const std::string exactName = codePage_.ToUtf8(leaf);
  const FolderListing& listing = ListingOf(hostFolder);
  if (!listing.complete()) {
    // Nothing is known of the folder's names but what a look at the name itself tells.
    struct stat st {};
    if (::lstat((prefix + exactName).c_str(), &st) == 0 || allowMissingLeaf) return Found{prefix + exactName};
    throw platform::FileError(path, kNoFile);
  }
  // The name as spelled first, then a name that matches it without regard to case.
  if (const auto type = listing.TypeOf(exactName))
    return Found{prefix + exactName, Found::State::kPresent, *type};
  if (const std::string* match = listing.FindFolded(leaf)) {
    return Found{prefix + *match, Found::State::kPresent, *listing.TypeOf(*match)};
  }
  if (allowMissingLeaf) return Found{prefix + exactName, Found::State::kMissing};
  throw platform::FileError(path, kNoFile);
}

std::string PosixPackFiles::TemporaryName() {
  char name[32];
  std::snprintf(name, sizeof name, ".tarvex-%016llx.tmp", static_cast<unsigned long long>(random_()));
  return name;
}

std::unique_ptr<platform::InputFile> PosixPackFiles::OpenInput(const std::string& path) {
  const std::string host = Find(path, false).host;
  struct stat st {};
  FileDescriptor fd = OpenRegular(host, path, st);
  return std::make_unique<PackInput>(*this, std::move(fd), IdentityOf(st), path);
}

std::unique_ptr<platform::OutputFile> PosixPackFiles::CreateOutput(const std::string& path) {
  const std::string host = Find(path, true).host;
  if (IsPending(host)) throw platform::FileError(path, kInUse);
  // A symbolic link under the name will be replaced itself; what it points to is never written. Anything
  // else that would refuse the file is checked before the temporary file is made.
  CheckReplaceable(host, path);
  RequireWritableFolder(host, path);
  const std::string folder = HostFolderOf(host);
  if (unnamedFiles_) {
    FileDescriptor fd(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (fd.Valid()) return std::make_unique<PackOutput>(*this, std::move(fd), std::string(), host, path);
    if (!NoUnnamedFiles(errno)) throw platform::FileError(path, SystemReason(errno));
    unnamedFiles_ = false;
  }
  TemporaryFile named = CreateTemporaryIn(folder, path, 0666, [this] { return TemporaryName(); });
  std::string temporary = named.Path();
  named.Kept();
  return std::make_unique<PackOutput>(*this, named.TakeFd(), std::move(temporary), host, path);
}

void PosixPackFiles::CheckReplaceable(const std::string& host, const std::string& path) {
  struct stat old {};
  if (::lstat(host.c_str(), &old) != 0 || S_ISLNK(old.st_mode)) return;
  if (!S_ISREG(old.st_mode)) throw platform::FileError(path, kNotRegular);
  if (InUse(IdentityOf(old))) throw platform::FileError(path, kInUse);
  if (ReadOnly(old)) throw platform::FileError(path, SystemReason(EACCES));
}

int PosixPackFiles::PutInPlace(int fd, const std::string& temporary, const std::string& host,
                               const std::string& path) {
  // What is under the name now is looked at again: it may have changed hands while the file was written.
  CheckReplaceable(host, path);
  if (!temporary.empty()) return ::rename(temporary.c_str(), host.c_str()) == 0 ? 0 : errno;
  return LinkInPlace(fd, host, [this] { return TemporaryName(); });
}

std::optional<platform::FileIdentity> PosixPackFiles::Identify(const std::string& path) {
  std::string host;
  try {
    host = Find(path, false).host;
  } catch (const platform::FileError&) {
    return std::nullopt;
  }
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) return std::nullopt;
  return IdentityOf(st);
}

void PosixPackFiles::Pending(const std::string& host, bool pending) {
  if (pending) {
    pending_.insert(PendingKey(host));
    Hold(kPendingMark);
  } else {
    pending_.erase(PendingKey(host));
    Release(kPendingMark);
  }
}

bool PosixPackFiles::IsPending(const std::string& host) const {
  return !pending_.empty() && pending_.count(PendingKey(host)) != 0;
}

std::string PosixPackFiles::PendingKey(const std::string& host) const {
  const auto slash = host.rfind('/');
  const std::string leaf = host.substr(slash + 1);
  const auto asCodePage = codePage_.FromUtf8(leaf);
  return host.substr(0, slash + 1) + base::LowerText(asCodePage ? *asCodePage : leaf, codePage_.LeadBytes());
}

bool PosixPackFiles::CopyToNewName(int in, off_t size, const std::string& host, const std::string& from,
                                   const std::string& to) {
  Locked([&] { RequireWritableFolder(host, to); });
  FileDescriptor out(::open(HostFolderOf(host).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
  if (!out.Valid()) {
    if (!NoUnnamedFiles(errno)) throw platform::FileError(to, SystemReason(errno));
    unnamedFiles_ = false;
    return false;
  }
  CopyData(in, out.Get(), size, from, to);
  // Naming an unnamed file takes its /proc entry; the name fails rather than replace a file.
  const std::string self = "/proc/self/fd/" + std::to_string(out.Get());
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, host.c_str(), AT_SYMLINK_FOLLOW) != 0) {
    const int error = errno;
    if (error == EEXIST) return false;  // a file came under the name after the folder was read
    if (error != ENOENT && error != ENOTDIR && error != EPERM)
      throw platform::FileError(to, SystemReason(error));
    unnamedFiles_ = false;  // no /proc to name it through
    return false;
  }
  if (const int error = out.Close(); error != 0) {
    // Written data that did not reach the file must not stand under the name.
    ::unlink(host.c_str());
    throw platform::FileError(to, SystemReason(error));
  }
  return true;
}

void PosixPackFiles::CopyThroughNamedFile(int in, off_t size, const std::string& host,
                                          const std::string& from, const std::string& to) {
  Locked([&] { RequireWritableFolder(host, to); });
  if (unnamedFiles_) {
    // Written unnamed, the copy has a name of its own only for the moment it is renamed over the old one.
    FileDescriptor out(::open(HostFolderOf(host).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (out.Valid()) {
      CopyData(in, out.Get(), size, from, to);
      if (const int error =
              LinkInPlace(out.Get(), host, [this] { return Locked([this] { return TemporaryName(); }); });
          error != 0)
        throw platform::FileError(to, SystemReason(error));
      if (const int error = out.Close(); error != 0) throw platform::FileError(to, SystemReason(error));
      return;
    }
    if (!NoUnnamedFiles(errno)) throw platform::FileError(to, SystemReason(errno));
    unnamedFiles_ = false;
  }
  TemporaryFile copy = CreateTemporaryIn(HostFolderOf(host), to, 0666,
                                         [this] { return Locked([this] { return TemporaryName(); }); });
  CopyData(in, copy.Fd(), size, from, to);
  if (const int error = copy.Close(); error != 0) throw platform::FileError(to, SystemReason(error));
  if (::rename(copy.Path().c_str(), host.c_str()) != 0) throw platform::FileError(to, SystemReason(errno));
  copy.Kept();
}

platform::FileIdentity PosixPackFiles::CopyReplacing(const std::string& from, const std::string& to) {
  // The destination's own name must be one name in its folder; "/" would reach elsewhere.
  const auto cut = base::FindLastCharacter(to, '\\', codePage_.LeadBytes());
  const std::string folder = cut == std::string::npos ? std::string() : to.substr(0, cut);
  const std::string leaf = cut == std::string::npos ? to : to.substr(cut + 1);
  if (leaf.find('/') != std::string::npos || WindowsNames(to, codePage_.LeadBytes()).size() !=
                                                 WindowsNames(folder, codePage_.LeadBytes()).size() + 1) {
    throw platform::FileError(to, kNotInFolder);
  }

  const Found source = Locked([&] { return Find(from, false); });
  struct stat st {};
  // What the listing does not call a regular file is looked at before it is opened.
  if (source.state != Found::State::kPresent || source.type != DT_REG) {
    if (::stat(source.host.c_str(), &st) != 0) throw platform::FileError(from, SystemReason(errno));
    if (!S_ISREG(st.st_mode)) throw platform::FileError(from, kNotRegular);
  }
  const FileDescriptor in = OpenRegular(source.host, from, st);
  const platform::FileIdentity sourceId = IdentityOf(st);
  const off_t size = st.st_size;

  const Found destination = Locked([&] { return Find(to, true); });
  const std::string& host = destination.host;
  if (Locked([&] { return IsPending(host); })) throw platform::FileError(to, kInUse);
  if (destination.state == Found::State::kMissing && unnamedFiles_) {
    if (CopyToNewName(in.Get(), size, host, from, to)) {
      Locked([&] { Created(host); });
      return sourceId;
    }
    // Start over with the checks of a name that may be taken.
    if (::lseek(in.Get(), 0, SEEK_SET) != 0) throw platform::FileError(from, SystemReason(errno));
  }
  struct stat old {};
  // A symbolic link under the name is replaced itself; what it points to is never written.
  if (::lstat(host.c_str(), &old) == 0 && !S_ISLNK(old.st_mode)) {
    if (!S_ISREG(old.st_mode)) throw platform::FileError(to, kNotRegular);
    if (IdentityOf(old) == sourceId) throw platform::FileError(to, kOwnSource);
    if (Locked([&] { return InUse(IdentityOf(old)); })) throw platform::FileError(to, kInUse);
    if (ReadOnly(old)) throw platform::FileError(to, SystemReason(EACCES));
  }
  CopyThroughNamedFile(in.Get(), size, host, from, to);
  Locked([&] { Created(host); });
  return sourceId;
}

bool PosixPackFiles::Exists(const std::string& path) {
  Found found;
  try {
    found = Find(path, false);
  } catch (const platform::FileError&) {
    return false;
  }
  // A link may lead nowhere, and a file system may not tell the type: those are looked at.
  if (found.state == Found::State::kPresent && found.type != DT_LNK && found.type != DT_UNKNOWN) return true;
  struct stat st {};
  return ::stat(found.host.c_str(), &st) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

platform::FileState PosixPackFiles::StateOf(const std::string& path) {
  const std::string host = Find(path, false).host;
  struct stat st {};
  if (::lstat(host.c_str(), &st) != 0) throw platform::FileError(path, SystemReason(errno));
  if (!S_ISREG(st.st_mode)) throw platform::FileError(path, kNotRegular);
  return StateFrom(st);
}

void PosixPackFiles::ReplaceWhole(const std::string& path, std::string_view bytes,
                                  const platform::FileState* expected) {
  const std::string host = Find(path, false).host;
  // A symbolic link is refused rather than replaced or written through: either would reach a file
  // other than the one named.
  struct stat old {};
  if (::lstat(host.c_str(), &old) != 0) throw platform::FileError(path, SystemReason(errno));
  if (!S_ISREG(old.st_mode)) throw platform::FileError(path, kNotRegular);
  if (InUse(IdentityOf(old))) throw platform::FileError(path, kInUse);
  if (ReadOnly(old)) throw platform::FileError(path, SystemReason(EACCES));
  RequireWritableFolder(host, path);
  // Just before the new file takes the name, the old one must still be the file that was read.
  const auto unchanged = [&] {
    if (!expected) return;
    struct stat now {};
    if (::lstat(host.c_str(), &now) != 0 || !S_ISREG(now.st_mode) || StateFrom(now) != *expected)
      throw platform::FileError(path, kChanged);
    if (now.st_nlink > 1) throw platform::FileError(path, kLinked);
  };
  unchanged();
  const auto write = [&](int fd) {
    if (::fchmod(fd, old.st_mode & 07777) != 0) throw platform::FileError(path, SystemReason(errno));
    WriteAll(fd, bytes.data(), bytes.size(), path);
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
      throw platform::FileError(path, SystemReason(errno));
  };
  if (unnamedFiles_) {
    // Unnamed until it replaces the file, the new text leaves nothing behind when the process dies.
    FileDescriptor fd(::open(HostFolderOf(host).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (fd.Valid()) {
      write(fd.Get());
      if (const int error = LinkInPlace(
              fd.Get(), host, [this] { return TemporaryName(); }, unchanged);
          error != 0)
        throw platform::FileError(path, SystemReason(error));
      return;
    }
    if (!NoUnnamedFiles(errno)) throw platform::FileError(path, SystemReason(errno));
    unnamedFiles_ = false;
  }
  TemporaryFile replacement =
      CreateTemporaryIn(HostFolderOf(host), path, 0600, [this] { return TemporaryName(); });
  write(replacement.Fd());
  if (const int error = replacement.Close(); error != 0) throw platform::FileError(path, SystemReason(error));
  unchanged();
  if (::rename(replacement.Path().c_str(), host.c_str()) != 0)
    throw platform::FileError(path, SystemReason(errno));
  replacement.Kept();
}

}  // namespace posix
