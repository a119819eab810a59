#include "tests/fakes/scripted_dialogs.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace fakes {

namespace {

constexpr int64_t kList = -1;  // a filter list: its texts up to and including the NUL pair that ends it

// Calls f(name, field) for every field of a record, with the stated length of a sized buffer (the custom
// colours' 64 bytes, kList for a filter list) or, for lStructSize, the record's size. A font request goes on
// into its LOGFONTA. The 32-bit PRINTDLGA is packed and no reference binds to its fields, so each field is
// visited as a copy.
#define F(field, ...)                           \
  [&] {                                         \
    auto copy = r.field;                        \
    f(#field, copy __VA_OPT__(, ) __VA_ARGS__); \
    r.field = copy;                             \
  }()
template <typename Fn>
void Fields(platform::OPENFILENAMEA& r, Fn&& f) {
  F(lStructSize, sizeof r), F(hwndOwner), F(hInstance), F(lpstrFilter, kList);
  F(lpstrCustomFilter, r.nMaxCustFilter), F(nMaxCustFilter), F(nFilterIndex), F(lpstrFile, r.nMaxFile);
  F(nMaxFile), F(lpstrFileTitle, r.nMaxFileTitle), F(nMaxFileTitle), F(lpstrInitialDir), F(lpstrTitle);
  F(Flags), F(nFileOffset), F(nFileExtension), F(lpstrDefExt), F(lCustData), F(lpfnHook), F(lpTemplateName);
}
template <typename Fn>
void Fields(platform::CHOOSECOLORA& r, Fn&& f) {
  F(lStructSize, sizeof r), F(hwndOwner), F(hInstance), F(rgbResult), F(lpCustColors, 64), F(Flags);
  F(lCustData), F(lpfnHook), F(lpTemplateName);
}
template <typename Fn>
void Fields(platform::LOGFONTA& r, Fn&& f) {
  F(lfHeight), F(lfWidth), F(lfEscapement), F(lfOrientation), F(lfWeight), F(lfItalic), F(lfUnderline);
  F(lfStrikeOut), F(lfCharSet), F(lfOutPrecision), F(lfClipPrecision), F(lfQuality), F(lfPitchAndFamily);
  f("lfFaceName", r.lfFaceName, sizeof r.lfFaceName);  // an array, which a copy would not keep
}
template <typename Fn>
void Fields(platform::CHOOSEFONTA& r, Fn&& f) {
  F(lStructSize, sizeof r), F(hwndOwner), F(hDC), F(lpLogFont), F(iPointSize), F(Flags), F(rgbColors);
  F(lCustData), F(lpfnHook), F(lpTemplateName), F(hInstance), F(lpszStyle), F(nFontType), F(nSizeMin);
  F(nSizeMax);
  if (r.lpLogFont) Fields(*r.lpLogFont, f);
}
template <typename Fn>
void Fields(platform::PRINTDLGA& r, Fn&& f) {
  F(lStructSize, sizeof r), F(hwndOwner), F(hDevMode), F(hDevNames), F(hDC), F(Flags), F(nFromPage);
  F(nToPage), F(nMinPage), F(nMaxPage), F(nCopies), F(hInstance), F(lCustData), F(lpfnPrintHook);
  F(lpfnSetupHook), F(lpPrintTemplateName), F(lpSetupTemplateName), F(hPrintTemplate), F(hSetupTemplate);
}
#undef F

struct Dump {
  std::vector<std::string>& log;
  template <typename T>
  void operator()(const char* name, T& field, int64_t length = 0) {
    std::string value;
    if constexpr (std::is_same_v<T, char*> || std::is_same_v<T, const char*> ||
                  std::is_same_v<T, uint32_t*> || std::is_array_v<T>) {
      const char* bytes = reinterpret_cast<const char*>(field);
      size_t size = length > 0 ? size_t(length) : bytes ? std::strlen(bytes) : 0;
      if (length == kList && bytes) {
        while (bytes[size] != '\0' || bytes[size + 1] != '\0') ++size;
        size += 2;
      }
      value = bytes ? '"' + Escaped({bytes, size}) + '"' : "null";
    } else if constexpr (std::is_pointer_v<T>) {
      value = field ? "set" : "null";
    } else {
      value = length != 0 && int64_t(field) == length ? "sizeof" : std::to_string(field);
    }
    log.push_back("    " + std::string(name) + "=" + value);
  }
};

struct Write {
  std::string name, value;
  template <typename T>
  void operator()(const char* fieldName, T& field, int64_t = 0) {
    if (name != fieldName) return;
    const std::string bytes = value[0] == '"' ? Unescaped(value.substr(1, value.size() - 2)) : "";
    if constexpr (std::is_same_v<T, char*> || std::is_same_v<T, uint32_t*> || std::is_array_v<T>) {
      std::memcpy(&field[0], bytes.data(), bytes.size());
    } else if constexpr (std::is_integral_v<T>) {
      field = static_cast<T>(std::stoll(value));
    }
  }
};

}  // namespace

std::string Escaped(std::string_view bytes) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0, run; i < bytes.size(); i += run) {
    const unsigned char c = bytes[i];
    run = std::min(bytes.find_first_not_of(bytes[i], i), bytes.size()) - i;
    if (run < 8) run = 1;
    if (run == 1 && c >= ' ' && c <= '~' && c != '{') {
      text += char(c);
      continue;
    }
    text += {'{', kHex[c >> 4], kHex[c & 15]};
    text += (run > 1 ? '*' + std::to_string(run) : "") + '}';
  }
  return text;
}

std::string Unescaped(std::string_view text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '{') {
      bytes += text[i];
      continue;
    }
    const size_t end = text.find('}', i);
    const std::string inside(text.substr(i + 1, end - i - 1));
    const size_t star = inside.find('*');
    bytes.append(star == std::string::npos ? 1 : std::stoul(inside.substr(star + 1)),
                 char(std::stoul(inside.substr(0, 2), nullptr, 16)));
    i = end;
  }
  return bytes;
}

template <typename Record>
int32_t ScriptedDialogs::Call(const char* name, Record& request) {
  log_.push_back(name);
  Fields(request, Dump{log_});
  const Script& script = scripts_[name];
  for (const std::string& write : script.writes) {
    const size_t equals = write.find('=');
    Fields(request, Write{write.substr(0, equals), write.substr(equals + 1)});
  }
  return script.result;
}

template int32_t ScriptedDialogs::Call(const char*, platform::OPENFILENAMEA&);
template int32_t ScriptedDialogs::Call(const char*, platform::CHOOSECOLORA&);
template int32_t ScriptedDialogs::Call(const char*, platform::CHOOSEFONTA&);
template int32_t ScriptedDialogs::Call(const char*, platform::PRINTDLGA&);

int32_t ScriptedDialogs::WinHelpA(platform::Handle owner, const char* helpFile, uint32_t command,
                                  uintptr_t data) {
  log_.push_back("WinHelpA");
  Dump dump{log_};
  auto signedData = static_cast<intptr_t>(data);  // shown alike on 32 and 64 bits
  dump("owner", owner), dump("helpFile", helpFile), dump("command", command), dump("data", signedData);
  return scripts_["WinHelpA"].result;
}

int32_t ScriptedDialogs::GetDeviceCaps(platform::Handle hdc, int32_t index) {
  log_.push_back("GetDeviceCaps " + std::to_string(hdc) + " " + std::to_string(index));
  return scripts_["GetDeviceCaps"].result;
}

}  // namespace fakes
