// The command line's stand-ins for the window: messages go to the console, the pointer has no face.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/code_page.h"
#include "platform/folder_names.h"
#include "platform/pack_files.h"
#include "platform/text_files.h"
#include "platform/user_interface.h"

namespace cli {

class ConsolePointer : public platform::MousePointer {
 public:
  void Set(int32_t) override {}
};

// A message with the stop icon goes to standard error, any other to standard output, decoded for the
// terminal.
class ConsoleMessages : public platform::MessageBox {
 public:
  explicit ConsoleMessages(const platform::CodePage& codePage) : codePage_(codePage) {}
  void Show(const std::string& text, int32_t style, const std::string& caption) override;

 private:
  const platform::CodePage& codePage_;
};

class NoMenuCommand : public platform::MenuCommand {
 public:
  void SetEnabled(bool) override {}
};

// What a command needs of the host: the code page, the files the reader reads and those a pack touches,
// and the folders' names as the disk spells them.
class Host {
 public:
  virtual ~Host() = default;
  virtual const platform::CodePage& codePage() const = 0;
  virtual platform::TextFiles& files() = 0;
  virtual platform::PackFiles& packFiles() = 0;
  virtual platform::FolderNames& folderNames() = 0;
};

// A platform's own host (posix::Host, win32::Host) as the commands see it.
template <typename PlatformHost>
class HostOf : public Host {
 public:
  template <typename... Args>
  explicit HostOf(Args&&... args) : host_(std::forward<Args>(args)...) {}
  const platform::CodePage& codePage() const override { return host_.codePage(); }
  platform::TextFiles& files() override { return host_.files(); }
  platform::PackFiles& packFiles() override { return host_.packFiles(); }
  platform::FolderNames& folderNames() override { return host_.folderNames(); }

 private:
  PlatformHost host_;
};

// The host-specific pieces live in console_posix.cpp and console_win32.cpp.
// Throws std::invalid_argument when TARVEX_CODEPAGE names a code page that cannot be used.
std::unique_ptr<Host> MakeHost();

// A path given on the command line, made absolute in the form the Open dialog would return: on POSIX
// the Z: form of the host path, on Windows the full Windows path. Empty when it cannot be written in
// the code page.
std::optional<std::string> WindowsPathOf(const std::string& argument, const platform::CodePage& codePage);

// The separators a path typed on this host's command line may use.
extern const char* const kArgumentSeparators;
// A path relative to the project's folder ("\" separated, UTF-8) as this host's command line writes it.
std::string HostSpelling(std::string relative);

}  // namespace cli
