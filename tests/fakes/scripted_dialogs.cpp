#include "tests/fakes/scripted_dialogs.h"

#include <cstring>

namespace fakes {

namespace {

std::optional<std::string> Text(const char* text) {
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

std::optional<std::string> Sized(const char* buffer, uint32_t length) {
  if (buffer == nullptr) return std::nullopt;
  return std::string(buffer, length);
}

// Up to and including the first pair of NULs, as the system reads a filter list.
std::optional<std::string> FilterList(const char* list) {
  if (list == nullptr) return std::nullopt;
  size_t length = 0;
  while (!(list[length] == '\0' && list[length + 1] == '\0')) ++length;
  return std::string(list, length + 2);
}

FileRequest Capture(const platform::OPENFILENAMEA& r) {
  return {r,
          FilterList(r.lpstrFilter),
          Sized(r.lpstrCustomFilter, r.nMaxCustFilter),
          Sized(r.lpstrFile, r.nMaxFile),
          Sized(r.lpstrFileTitle, r.nMaxFileTitle),
          Text(r.lpstrInitialDir),
          Text(r.lpstrTitle),
          Text(r.lpstrDefExt)};
}

template <typename Record>
int32_t Answer(const std::function<int32_t(Record&)>& script, Record& request) {
  return script ? script(request) : 0;
}

}  // namespace

int32_t ScriptedDialogs::GetOpenFileNameA(platform::OPENFILENAMEA& request) {
  calls.push_back("GetOpenFileNameA");
  opens.push_back(Capture(request));
  return Answer(answerOpen, request);
}

int32_t ScriptedDialogs::GetSaveFileNameA(platform::OPENFILENAMEA& request) {
  calls.push_back("GetSaveFileNameA");
  saves.push_back(Capture(request));
  return Answer(answerSave, request);
}

int32_t ScriptedDialogs::ChooseColorA(platform::CHOOSECOLORA& request) {
  calls.push_back("ChooseColorA");
  ColorRequest seen{request, {}};
  if (request.lpCustColors) seen.customColors.assign(request.lpCustColors, request.lpCustColors + 16);
  colors.push_back(seen);
  return Answer(answerColor, request);
}

int32_t ScriptedDialogs::ChooseFontA(platform::CHOOSEFONTA& request) {
  calls.push_back("ChooseFontA");
  FontRequest seen{request, std::nullopt};
  if (request.lpLogFont) seen.logFont = *request.lpLogFont;
  fonts.push_back(seen);
  return Answer(answerFont, request);
}

int32_t ScriptedDialogs::PrintDlgA(platform::PRINTDLGA& request) {
  calls.push_back("PrintDlgA");
  prints.push_back(request);
  return Answer(answerPrint, request);
}

int32_t ScriptedDialogs::WinHelpA(platform::Handle owner, const char* helpFile, uint32_t command,
                                  uintptr_t data) {
  calls.push_back("WinHelpA");
  helps.push_back({owner, Text(helpFile), command, data});
  return helpResult;
}

int32_t ScriptedDialogs::GetDeviceCaps(platform::Handle hdc, int32_t index) {
  calls.push_back("GetDeviceCaps");
  deviceCapsContexts.push_back(hdc);
  return index == platform::kLogPixelsY ? dpi : 0;
}

std::function<int32_t(platform::OPENFILENAMEA&)> ChooseFile(const std::string& path, uint32_t filterIndex,
                                                            uint32_t resultFlags) {
  return [=](platform::OPENFILENAMEA& request) -> int32_t {
    const std::string title = path.substr(path.find_last_of('\\') + 1);
    if (path.size() + 1 > request.nMaxFile || title.size() + 1 > request.nMaxFileTitle) return 0;
    std::memcpy(request.lpstrFile, path.c_str(), path.size() + 1);
    std::memcpy(request.lpstrFileTitle, title.c_str(), title.size() + 1);
    request.nFilterIndex = filterIndex;
    request.Flags |= resultFlags;
    return 1;
  };
}

}  // namespace fakes
