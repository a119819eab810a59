// Owned handles, error reasons and code-page conversion on the Windows API.
#include "platform/win32/win32_text.h"

#include <cstdio>

namespace win32 {

std::string SystemReason(DWORD error) {
  char* text = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string reason;
  if (length != 0 && text != nullptr) reason.assign(text, length);
  if (text != nullptr) ::LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) {
    reason.pop_back();
  }
  if (reason.empty()) {
    char number[32];
    std::snprintf(number, sizeof number, "Windows error %lu", static_cast<unsigned long>(error));
    reason = number;
  }
  return reason;
}

std::wstring WideFromCodePage(std::string_view bytes, UINT codePage) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
  return wide;
}

bool CodePageFromWide(std::wstring_view wide, UINT codePage, std::string& bytes) {
  bytes.clear();
  if (wide.empty()) return true;
  const int size = static_cast<int>(wide.size());
  // UTF-8 and UTF-7 take neither the default-character flag nor its answer.
  const bool utf = codePage == CP_UTF8 || codePage == CP_UTF7;
  const DWORD flags = utf ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* used = utf ? nullptr : &usedDefault;
  const int length = ::WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, used);
  if (length <= 0 || usedDefault) return false;
  bytes.resize(static_cast<std::size_t>(length));
  ::WideCharToMultiByte(codePage, flags, wide.data(), size, bytes.data(), length, nullptr, used);
  return !usedDefault;
}

}  // namespace win32
