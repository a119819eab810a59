// The ShellLink object on a POSIX host: it collects the link's properties and saves a binary .lnk file.
#pragma once

#include "platform/code_page.h"
#include "platform/posix/lnk_format.h"
#include "platform/shell_link.h"

namespace posix {

class ShellLinkFile : public platform::ShellLink {
 public:
  explicit ShellLinkFile(const platform::CodePage& codePage) : codePage_(codePage) {}
  platform::HResult SetPath(const std::string& file) override;
  platform::HResult SetWorkingDirectory(const std::string& dir) override;
  platform::HResult SetArguments(const std::string& args) override;
  platform::HResult SetDescription(const std::string& name) override;
  platform::HResult SetIconLocation(const std::string& iconPath, int32_t icon) override;
  platform::HResult SetShowCmd(int32_t showCmd) override;
  // Takes the target's attributes, size and write time when it exists; a missing target leaves nothing to do.
  platform::HResult Resolve(std::uintptr_t window, uint32_t flags) override;
  platform::HResult QueryPersistFile(std::unique_ptr<platform::PersistFile>& file) override;

  // Writes the link file at the wide Windows path, replacing one of that name.
  platform::HResult SaveTo(const std::u16string& fileName);

 private:
  const platform::CodePage& codePage_;
  ShellLinkData data_;
};

class ShellLinkFiles : public platform::ShellLinkFactory {
 public:
  explicit ShellLinkFiles(const platform::CodePage& codePage) : codePage_(codePage) {}
  platform::HResult Create(std::unique_ptr<platform::ShellLink>& link) override;

 private:
  const platform::CodePage& codePage_;
};

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(std::u16string_view wide);

// The HRESULT for an errno value, as the Win32 error Windows would give for it.
platform::HResult HResultFromErrno(int error);

}  // namespace posix
