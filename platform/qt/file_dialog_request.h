// What the Open and Save As request records mean to a Qt file dialog, and how its answer is written back.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

namespace qtui {

// OPENFILENAMEA::Flags bits the Qt dialogs act on.
inline constexpr uint32_t OFN_READONLY = 0x1;
inline constexpr uint32_t OFN_OVERWRITEPROMPT = 0x2;
inline constexpr uint32_t OFN_HIDEREADONLY = 0x4;
inline constexpr uint32_t OFN_ALLOWMULTISELECT = 0x200;
inline constexpr uint32_t OFN_EXTENSIONDIFFERENT = 0x400;
inline constexpr uint32_t OFN_PATHMUSTEXIST = 0x800;
inline constexpr uint32_t OFN_FILEMUSTEXIST = 0x1000;
inline constexpr uint32_t OFN_EXPLORER = 0x80000;

struct FilterPair {
  std::string description;
  std::string pattern;  // patterns separated by ";"
};

// The description/pattern pairs of a filter list; the list ends at its first empty text, and a
// description without a pattern is dropped.
std::vector<FilterPair> ParseFilterList(const char* list);

// A Qt name filter for a pair: "Text (*.txt *.log)"; "*.*" means every file, as it does on Windows.
QString QtNameFilter(const platform::CodePage& codePage, const FilterPair& pair);

// The text of a buffer up to its first NUL, reading no further than size characters.
std::string BufferText(const char* buffer, uint32_t size);

// Whether text and its terminating NUL fit size characters.
inline bool FitsNulEnded(std::string_view text, uint32_t size) {
  return text.size() < size;
}
// Copies text and a NUL into the buffer when they fit; returns whether they did.
bool WriteNulEnded(std::string_view text, char* buffer, uint32_t size);

// What a confirmed file dialog answers, in Windows paths (code-page bytes).
struct FileAnswer {
  std::string file;   // for lpstrFile; with several files the folder and the names, as Windows lists them
  std::string title;  // for lpstrFileTitle: the (first) file's name without its folder
  uint16_t fileOffset = 0;
  uint16_t fileExtension = 0;
};

// paths are the chosen files' full Windows paths; several only with OFN_ALLOWMULTISELECT. Several
// files are listed explorer-style (folder, NUL, each name NUL-ended) with OFN_EXPLORER, otherwise
// blank-separated on one line.
FileAnswer AnswerFor(const std::vector<std::string>& paths, uint32_t flags);

// The file name's extension without its dot, or empty.
std::string ExtensionOf(std::string_view name);

}  // namespace qtui
