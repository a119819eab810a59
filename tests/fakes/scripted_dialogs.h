// System dialogs whose user is a script: each call is captured as the system saw it, buffers included,
// then the script answers by editing the record as the system would and returning its result.
// Without a script every dialog is cancelled (0).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/system_dialogs.h"

namespace fakes {

// A file dialog's request. Texts are nullopt for a null pointer; the sized buffers are taken whole at
// their stated lengths, the filter list up to and including the NUL pair that ends it, the other
// texts up to (not including) their NUL. The record's pointers are only good for comparing with null.
struct FileRequest {
  platform::OPENFILENAMEA record;
  std::optional<std::string> filter;
  std::optional<std::string> customFilter;
  std::optional<std::string> file;
  std::optional<std::string> fileTitle;
  std::optional<std::string> initialDir;
  std::optional<std::string> title;
  std::optional<std::string> defaultExt;
};

struct ColorRequest {
  platform::CHOOSECOLORA record;
  std::vector<uint32_t> customColors;  // the 16 entries, empty for a null pointer
};

struct FontRequest {
  platform::CHOOSEFONTA record;
  std::optional<platform::LOGFONTA> logFont;
};

struct HelpRequest {
  platform::Handle owner;
  std::optional<std::string> helpFile;
  uint32_t command;
  uintptr_t data;
};

class ScriptedDialogs : public platform::SystemDialogs {
 public:
  std::function<int32_t(platform::OPENFILENAMEA&)> answerOpen;
  std::function<int32_t(platform::OPENFILENAMEA&)> answerSave;
  std::function<int32_t(platform::CHOOSECOLORA&)> answerColor;
  std::function<int32_t(platform::CHOOSEFONTA&)> answerFont;
  std::function<int32_t(platform::PRINTDLGA&)> answerPrint;
  int32_t helpResult = 1;
  int32_t dpi = 96;  // GetDeviceCaps(hdc, kLogPixelsY); any other index gives 0

  std::vector<std::string> calls;  // names of the calls in order, "GetOpenFileNameA", ...
  std::vector<FileRequest> opens;
  std::vector<FileRequest> saves;
  std::vector<ColorRequest> colors;
  std::vector<FontRequest> fonts;
  std::vector<platform::PRINTDLGA> prints;
  std::vector<HelpRequest> helps;
  std::vector<platform::Handle> deviceCapsContexts;

  int32_t GetOpenFileNameA(platform::OPENFILENAMEA& request) override;
  int32_t GetSaveFileNameA(platform::OPENFILENAMEA& request) override;
  int32_t ChooseColorA(platform::CHOOSECOLORA& request) override;
  int32_t ChooseFontA(platform::CHOOSEFONTA& request) override;
  int32_t PrintDlgA(platform::PRINTDLGA& request) override;
  int32_t WinHelpA(platform::Handle owner, const char* helpFile, uint32_t command, uintptr_t data) override;
  int32_t GetDeviceCaps(platform::Handle hdc, int32_t index) override;
};

// A user who picks the file at path (a name of the folder's, after its last "\"), with the filter pair
// at filterIndex, and the system that adds resultFlags to Flags. Fails with 0 when the path does not
// fit nMaxFile, as the system does.
std::function<int32_t(platform::OPENFILENAMEA&)> ChooseFile(const std::string& path, uint32_t filterIndex,
                                                            uint32_t resultFlags = 0);

}  // namespace fakes
