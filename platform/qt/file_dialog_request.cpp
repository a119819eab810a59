// Translating the Open and Save As request records for Qt's file dialog, and writing its answer back.
#include "platform/qt/file_dialog_request.h"

#include <QStringList>
#include <algorithm>
#include <cstring>

#include "base/windows_path.h"
#include "platform/qt/qt_text.h"

namespace qtui {

std::vector<FilterPair> ParseFilterList(const char* list) {
  std::vector<FilterPair> pairs;
  if (list == nullptr) return pairs;
  while (*list != '\0') {
    std::string description(list);
    list += description.size() + 1;
    if (*list == '\0') break;
    std::string pattern(list);
    list += pattern.size() + 1;
    pairs.push_back({std::move(description), std::move(pattern)});
  }
  return pairs;
}

QString QtNameFilter(const platform::CodePage& codePage, const FilterPair& pair) {
  QStringList patterns;
  for (const QString& pattern : Shown(codePage, pair.pattern).split(';', Qt::SkipEmptyParts)) {
    const QString trimmed = pattern.trimmed();
    patterns << (trimmed == "*.*" ? QStringLiteral("*") : trimmed);
  }
  // Qt reads the patterns from the last parentheses and, told to hide them, shows the rest.
  return Shown(codePage, pair.description) + " (" + patterns.join(' ') + ")";
}

std::string BufferText(const char* buffer, uint32_t size) {
  if (buffer == nullptr) return {};
  const char* end = std::find(buffer, buffer + size, '\0');
  return std::string(buffer, end);
}

bool WriteNulEnded(std::string_view text, char* buffer, uint32_t size) {
  if (buffer == nullptr || !FitsNulEnded(text, size)) return false;
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return true;
}

std::string ExtensionOf(std::string_view name) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  return std::string(name.substr(dot + 1));
}

FileAnswer AnswerFor(const std::vector<std::string>& paths, uint32_t flags) {
  FileAnswer answer;
  if (paths.empty()) return answer;
  const std::string& first = paths.front();
  answer.title = base::SplitWindowsPath(first).name;
  if (paths.size() == 1 || (flags & OFN_ALLOWMULTISELECT) == 0) {
    answer.file = first;
    answer.fileOffset = static_cast<uint16_t>(first.size() - answer.title.size());
    const std::string extension = ExtensionOf(answer.title);
    answer.fileExtension = static_cast<uint16_t>(
        extension.empty() && answer.title.find('.') == std::string::npos ? first.size()
                                                                         : first.size() - extension.size());
    return answer;
  }
  std::string folder(base::SplitWindowsPath(first).folder);
  if (!folder.empty() && folder.back() == ':') folder += '\\';  // a drive's root keeps its backslash
  const char separator = (flags & OFN_EXPLORER) != 0 ? '\0' : ' ';
  answer.file = folder;
  for (const auto& path : paths) {
    answer.file += separator;
    answer.file += base::SplitWindowsPath(path).name;
  }
  if (separator == '\0') answer.file += '\0';  // the list ends in two NULs with the buffer's own
  answer.fileOffset = static_cast<uint16_t>(folder.size() + 1);
  return answer;
}

}  // namespace qtui
