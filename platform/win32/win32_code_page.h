// The system code page on Windows, converted through the system's own tables.
#pragma once

#include "platform/win32/windows_api.h"

#include <memory>

#include "platform/code_page.h"

namespace win32 {

class Win32CodePage : public platform::CodePage {
 public:
  explicit Win32CodePage(UINT number) : number_(number) {}
  std::string ToUtf8(std::string_view bytes) const override;
  std::optional<std::string> FromUtf8(std::string_view utf8) const override;
  UINT Number() const { return number_; }

 private:
  UINT number_;
};

// The ANSI code page the A entry points use.
std::unique_ptr<Win32CodePage> AnsiCodePage();

// For tarvex-cli: the code page named by TARVEX_CODEPAGE (as on the other platforms), else the ANSI one.
// Throws std::invalid_argument for a number this system has no table for.
std::unique_ptr<Win32CodePage> CommandLineCodePage();

}  // namespace win32
