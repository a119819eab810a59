// Small helpers over the Windows API: owned handles, the system's reason for an error, wide text.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>
#include <string_view>

namespace win32 {

// A kernel object handle, closed with its owner.
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~OwnedHandle() { Close(); }
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.Release()) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  // Closes now; false when CloseHandle failed.
  bool Close() {
    if (!Valid()) return true;
    const BOOL closed = ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed != 0;
  }

 private:
  HANDLE handle_;
};

// The system's own text for a Win32 error code, without the line end it comes with: the one mapping from
// error codes to reasons of the Win32 layer.
std::string SystemReason(DWORD error);
// What the layer refuses itself, where the system has no error code that says it.
inline constexpr const char* kNotRegularText = "Not a regular file";

// Code-page text to UTF-16 and back, in the given code page (CP_ACP for the system's).
std::wstring WideFromCodePage(std::string_view bytes, UINT codePage = CP_ACP);
// False when a character has no spelling in the code page.
bool CodePageFromWide(std::wstring_view wide, UINT codePage, std::string& bytes);

}  // namespace win32
