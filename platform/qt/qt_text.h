// Code-page text shown in Qt widgets, and Qt text turned back into code-page bytes.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace qtui {

inline QString Shown(const platform::CodePage& codePage, std::string_view bytes) {
  return QString::fromStdString(codePage.ToUtf8(bytes));
}

// Empty when the text cannot be written in the code page.
inline std::optional<std::string> Bytes(const platform::CodePage& codePage, const QString& text) {
  return codePage.FromUtf8(text.toStdString());
}

}  // namespace qtui
