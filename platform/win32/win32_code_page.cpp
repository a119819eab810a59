// Code-page text to UTF-8 and back with MultiByteToWideChar and WideCharToMultiByte.
#include "platform/win32/win32_code_page.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/win32/win32_text.h"

namespace win32 {

std::string Win32CodePage::ToUtf8(std::string_view bytes) const {
  std::string utf8;
  // Every UTF-16 text has a UTF-8 spelling; an unpaired surrogate cannot come out of a code page.
  CodePageFromWide(WideFromCodePage(bytes, number_), CP_UTF8, utf8);
  return utf8;
}

std::optional<std::string> Win32CodePage::FromUtf8(std::string_view utf8) const {
  if (utf8.empty()) return std::string();
  const int size = static_cast<int>(utf8.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length);
  std::string bytes;
  if (!CodePageFromWide(wide, number_, bytes)) return std::nullopt;
  return bytes;
}

std::unique_ptr<Win32CodePage> AnsiCodePage() {
  return std::make_unique<Win32CodePage>(::GetACP());
}

std::unique_ptr<Win32CodePage> CommandLineCodePage() {
  const char* named = std::getenv("TARVEX_CODEPAGE");
  if (named == nullptr || *named == '\0') return AnsiCodePage();
  char* end = nullptr;
  const unsigned long number = std::strtoul(named, &end, 10);
  CPINFO info;
  if (*end != '\0' || number == 0 || number > 65535 || !::GetCPInfo(static_cast<UINT>(number), &info)) {
    throw std::invalid_argument(std::string("TARVEX_CODEPAGE names no code page this system has: ") + named);
  }
  return std::make_unique<Win32CodePage>(static_cast<UINT>(number));
}

}  // namespace win32
