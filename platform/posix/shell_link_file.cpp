// Shell links saved as binary .lnk files through the Z: drive mapping.
#include "platform/posix/shell_link_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/errors.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/posix_text_files.h"

namespace posix {
namespace {

constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeArchive = 0x20;
constexpr uint64_t kSecondsFrom1601To1970 = 11644473600ULL;
constexpr platform::HResult kPathNotFound = static_cast<int32_t>(0x80070003u);

// The system's strings end at their first NUL, as the C interface would see them.
std::string UpToNul(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

platform::HResult FromWin32(uint32_t code) {
  return static_cast<int32_t>(0x80070000u | code);
}

class LinkPersistFile : public platform::PersistFile {
 public:
  explicit LinkPersistFile(ShellLinkFile& link) : link_(link) {}
  platform::HResult Save(const std::u16string& fileName, bool) override { return link_.SaveTo(fileName); }

 private:
  ShellLinkFile& link_;
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

platform::HResult WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      return HResultFromErrno(errno);
    }
    done += static_cast<std::size_t>(written);
  }
  return ::fsync(fd) == 0 ? platform::kSOk : HResultFromErrno(errno);
}

// Writes the bytes under a fresh name beside hostPath and renames it over hostPath, so that a reader
// sees either the old link or the whole new one.
platform::HResult ReplaceFile(const std::string& hostPath, const std::string& bytes) {
  std::string temporary;
  FileDescriptor fd;
  for (int attempt = 0; attempt < 100 && !fd.Valid(); ++attempt) {
    temporary = hostPath + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
    fd = FileDescriptor(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (!fd.Valid() && errno != EEXIST) return HResultFromErrno(errno);
  }
  if (!fd.Valid()) return platform::kEFail;
  platform::HResult result = WriteAll(fd.Get(), bytes);
  if (const int error = fd.Close(); result >= 0 && error != 0) result = HResultFromErrno(error);
  if (result >= 0 && ::rename(temporary.c_str(), hostPath.c_str()) != 0) result = HResultFromErrno(errno);
  if (result < 0) ::unlink(temporary.c_str());
  return result;
}

}  // namespace

platform::HResult HResultFromErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EISDIR:
      return FromWin32(5);  // ERROR_ACCESS_DENIED
    case ENOENT:
    case ENOTDIR:
      return FromWin32(3);  // ERROR_PATH_NOT_FOUND
    case EROFS:
      return FromWin32(19);  // ERROR_WRITE_PROTECT
    case ENOSPC:
    case EDQUOT:
      return FromWin32(112);  // ERROR_DISK_FULL
    case ENAMETOOLONG:
      return FromWin32(206);  // ERROR_FILENAME_EXCED_RANGE
    case ENOMEM:
      return platform::kEOutOfMemory;
    default:
      return platform::kEFail;
  }
}

std::string Utf8FromWide(std::u16string_view wide) {
  std::string out;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

platform::HResult ShellLinkFile::SetPath(const std::string& file) {
  data_.targetPath = UpToNul(file);
  return platform::kSOk;
}

platform::HResult ShellLinkFile::SetWorkingDirectory(const std::string& dir) {
  data_.workingDirectory = UpToNul(dir);
  return platform::kSOk;
}

platform::HResult ShellLinkFile::SetArguments(const std::string& args) {
  data_.arguments = UpToNul(args);
  return platform::kSOk;
}

platform::HResult ShellLinkFile::SetDescription(const std::string& name) {
  data_.description = UpToNul(name);
  return platform::kSOk;
}

platform::HResult ShellLinkFile::SetIconLocation(const std::string& iconPath, int32_t icon) {
  data_.iconLocation = UpToNul(iconPath);
  data_.iconIndex = icon;
  return platform::kSOk;
}

platform::HResult ShellLinkFile::SetShowCmd(int32_t showCmd) {
  data_.showCommand = showCmd;
  return platform::kSOk;
}

platform::HResult ShellLinkFile::Resolve(std::uintptr_t, uint32_t) {
  data_.fileAttributes = 0;
  data_.writeTime = 0;
  data_.fileSize = 0;
  if (data_.targetPath.empty()) return platform::kSOk;
  struct stat st {};
  try {
    if (::stat(HostFromWindows(data_.targetPath, codePage_).c_str(), &st) != 0) return platform::kSOk;
  } catch (const platform::FileError&) {
    return platform::kSOk;  // the target is missing: nothing to update
  }
  data_.fileAttributes = S_ISDIR(st.st_mode) ? kFileAttributeDirectory : kFileAttributeArchive;
  data_.fileSize = static_cast<uint32_t>(st.st_size);
  if (st.st_mtim.tv_sec >= 0) {
    data_.writeTime = (static_cast<uint64_t>(st.st_mtim.tv_sec) + kSecondsFrom1601To1970) * 10000000ULL +
                      static_cast<uint64_t>(st.st_mtim.tv_nsec) / 100;
  }
  return platform::kSOk;
}

platform::HResult ShellLinkFile::QueryPersistFile(std::unique_ptr<platform::PersistFile>& file) {
  file = std::make_unique<LinkPersistFile>(*this);
  return platform::kSOk;
}

platform::HResult ShellLinkFile::SaveTo(const std::u16string& fileName) {
  const auto windowsPath = codePage_.FromUtf8(Utf8FromWide(fileName));
  if (!windowsPath || windowsPath->empty()) return platform::kEInvalidArg;
  std::string host;
  try {
    host = HostFromWindows(*windowsPath, codePage_, true);
  } catch (const platform::FileError&) {
    return kPathNotFound;
  }
  const auto bytes = ShellLinkBytes(data_);
  if (!bytes) return platform::kEInvalidArg;
  return ReplaceFile(host, *bytes);
}

platform::HResult ShellLinkFiles::Create(std::unique_ptr<platform::ShellLink>& link) {
  link = std::make_unique<ShellLinkFile>(codePage_);
  return platform::kSOk;
}

}  // namespace posix
