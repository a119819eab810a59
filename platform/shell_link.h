// The shell's ShellLink object, through its IShellLinkA and IPersistFile interfaces.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

using HResult = int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kEFail = static_cast<int32_t>(0x80004005u);
inline constexpr HResult kEInvalidArg = static_cast<int32_t>(0x80070057u);
inline constexpr HResult kEOutOfMemory = static_cast<int32_t>(0x8007000Eu);

inline constexpr uint32_t kSlrNoUi = 0x1;
inline constexpr uint32_t kSlrUpdate = 0x4;
inline constexpr int32_t kSwShow = 5;

// IPersistFile of a shell link; destroying it releases the interface.
class PersistFile {
 public:
  virtual ~PersistFile() = default;
  // Writes the link to the file, replacing one of that name.
  virtual HResult Save(const std::u16string& fileName, bool remember) = 0;
};

// IShellLinkA; strings are in the system code page. Destroying it releases the interface.
class ShellLink {
 public:
  virtual ~ShellLink() = default;
  virtual HResult SetPath(const std::string& file) = 0;
  virtual HResult SetWorkingDirectory(const std::string& dir) = 0;
  virtual HResult SetArguments(const std::string& args) = 0;
  virtual HResult SetDescription(const std::string& name) = 0;
  virtual HResult SetIconLocation(const std::string& iconPath, int32_t icon) = 0;
  virtual HResult SetShowCmd(int32_t showCmd) = 0;
  // window 0 is no window.
  virtual HResult Resolve(std::uintptr_t window, uint32_t flags) = 0;
  // QueryInterface for IPersistFile: sets file, or leaves it null and returns the failure. The file
  // interface is used only while this one lives.
  virtual HResult QueryPersistFile(std::unique_ptr<PersistFile>& file) = 0;
};

// Creates ShellLink objects (CLSID_ShellLink); COM is ready on the calling thread.
class ShellLinkFactory {
 public:
  virtual ~ShellLinkFactory() = default;
  // Sets link, or leaves it null and returns the failure.
  virtual HResult Create(std::unique_ptr<ShellLink>& link) = 0;
};

}  // namespace platform
