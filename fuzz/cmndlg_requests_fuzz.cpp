// CmnDlg's dialog methods with arbitrary property values and a system that answers arbitrarily, as
// far as the system's own contract allows (it may fill a buffer to its stated length, with or without
// a NUL). The system side reads and writes every buffer to its stated length, so a buffer shorter than
// the control claims shows as an AddressSanitizer report; every text handed over must be NUL-ended.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "cmndlg/cmn_dlg.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/saved_values.h"
#include "platform/errors.h"
#include "platform/system_dialogs.h"
#include "tests/fakes/recording_container.h"

namespace {

constexpr int32_t kInvalidArgument = 5;
constexpr int32_t kOverflow = 6;

// The length of a NUL-ended text, read byte by byte so that a missing NUL runs off the buffer.
std::size_t TextLength(const char* text) {
  fuzz::Require(text != nullptr, "a text pointer is null");
  std::size_t length = 0;
  while (text[length] != '\0') ++length;
  return length;
}

std::string BeforeNul(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

class FuzzedSystem : public platform::SystemDialogs {
 public:
  explicit FuzzedSystem(FuzzedDataProvider& input) : input_(input) {}

  // What the control handed over last, for checking against its properties.
  std::string file;
  std::string title;
  std::string faceName;

  int32_t GetOpenFileNameA(platform::OPENFILENAMEA& request) override { return FileDialog(request); }
  int32_t GetSaveFileNameA(platform::OPENFILENAMEA& request) override { return FileDialog(request); }

  int32_t ChooseColorA(platform::CHOOSECOLORA& request) override {
    fuzz::Require(request.lStructSize == sizeof request, "CHOOSECOLOR with a wrong size");
    fuzz::Require(request.lpCustColors != nullptr, "no custom colours");
    for (int i = 0; i < 16; ++i) request.lpCustColors[i] = input_.ConsumeIntegral<uint32_t>();
    const int32_t result = Result();
    if (result != 0) {
      request.rgbResult = input_.ConsumeIntegral<uint32_t>();
      request.Flags = input_.ConsumeIntegral<uint32_t>();
    }
    return result;
  }

  int32_t ChooseFontA(platform::CHOOSEFONTA& request) override {
    fuzz::Require(request.lStructSize == sizeof request, "CHOOSEFONT with a wrong size");
    fuzz::Require(request.lpLogFont != nullptr, "no LOGFONT");
    platform::LOGFONTA& font = *request.lpLogFont;
    fuzz::Require(std::memchr(font.lfFaceName, '\0', sizeof font.lfFaceName) != nullptr,
                  "the face name is not NUL-ended within its field");
    faceName = font.lfFaceName;
    const int32_t result = Result();
    if (result != 0) {
      font.lfHeight = input_.ConsumeIntegral<int32_t>();
      font.lfWeight = input_.ConsumeIntegral<int32_t>();
      font.lfItalic = input_.ConsumeIntegral<uint8_t>();
      font.lfUnderline = input_.ConsumeIntegral<uint8_t>();
      font.lfStrikeOut = input_.ConsumeIntegral<uint8_t>();
      font.lfCharSet = input_.ConsumeIntegral<uint8_t>();
      Fill(font.lfFaceName, sizeof font.lfFaceName);
      request.rgbColors = input_.ConsumeIntegral<uint32_t>();
      request.Flags = input_.ConsumeIntegral<uint32_t>();
    }
    return result;
  }

  int32_t PrintDlgA(platform::PRINTDLGA& request) override {
    fuzz::Require(request.lStructSize == sizeof request, "PRINTDLG with a wrong size");
    const int32_t result = Result();
    if (result != 0) {
      request.hDC = input_.ConsumeIntegral<platform::Handle>();
      request.Flags = input_.ConsumeIntegral<uint32_t>();
      request.nFromPage = input_.ConsumeIntegral<uint16_t>();
      request.nToPage = input_.ConsumeIntegral<uint16_t>();
      request.nCopies = input_.ConsumeIntegral<uint16_t>();
    }
    return result;
  }

  int32_t WinHelpA(platform::Handle, const char* helpFile, uint32_t, uintptr_t) override {
    TextLength(helpFile);
    return Result();
  }

  int32_t GetDeviceCaps(platform::Handle, int32_t) override { return input_.ConsumeIntegral<int32_t>(); }

 private:
  int32_t Result() { return input_.ConsumeBool() ? input_.ConsumeIntegral<int32_t>() : 0; }

  // Up to length bytes of the input, NUL-ended as a confirming system always does; scribbles left by
  // a cancelled dialog need not be.
  void Fill(char* buffer, std::size_t length, bool confirmed = true) {
    if (length == 0) return;
    const std::string text = input_.ConsumeRandomLengthString(length);
    std::memcpy(buffer, text.data(), text.size());
    if (confirmed || input_.ConsumeBool()) buffer[std::min(text.size(), length - 1)] = '\0';
  }

  // Every byte of a sized buffer is read: it must be that long, and hold a NUL.
  static void RequireSized(const char* buffer, uint32_t length, const char* what) {
    fuzz::Require(buffer != nullptr && length > 0, std::string(what) + " is missing");
    bool ended = false;
    for (uint32_t i = 0; i < length; ++i) ended = ended || buffer[i] == '\0';
    fuzz::Require(ended, std::string(what) + " is not NUL-ended within its length");
  }

  int32_t FileDialog(platform::OPENFILENAMEA& request) {
    fuzz::Require(request.lStructSize == sizeof request, "OPENFILENAME with a wrong size");
    RequireSized(request.lpstrFile, request.nMaxFile, "the file buffer");
    RequireSized(request.lpstrFileTitle, request.nMaxFileTitle, "the file title buffer");
    RequireSized(request.lpstrCustomFilter, request.nMaxCustFilter, "the custom filter buffer");
    fuzz::Require(request.lpstrFilter != nullptr, "no filter list");
    for (const char* pair = request.lpstrFilter; !(pair[0] == '\0' && pair[1] == '\0'); ++pair) {
    }
    TextLength(request.lpstrInitialDir);
    TextLength(request.lpstrDefExt);
    title = std::string(request.lpstrTitle, TextLength(request.lpstrTitle));
    file = request.lpstrFile;
    const int32_t result = Result();
    // A cancelled dialog may have written into the buffers too; nothing of them may be read back then.
    if (result != 0 || input_.ConsumeBool()) {
      Fill(request.lpstrFile, request.nMaxFile, result != 0);
      Fill(request.lpstrFileTitle, request.nMaxFileTitle, result != 0);
      Fill(request.lpstrCustomFilter, request.nMaxCustFilter, result != 0);
      request.nFilterIndex = input_.ConsumeIntegral<uint32_t>();
      request.Flags = input_.ConsumeIntegral<uint32_t>();
    }
    return result;
  }

  FuzzedDataProvider& input_;
};

void SetSome(cmndlg::CmnDlg& c, FuzzedDataProvider& input) {
  const int sets = input.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < sets; ++i) {
    const auto l = [&] { return input.ConsumeIntegral<int32_t>(); };
    const auto b = [&] { return input.ConsumeIntegral<int16_t>(); };
    const auto s = [&] { return input.ConsumeRandomLengthString(300); };
    switch (input.ConsumeIntegralInRange(0, 26)) {
      case 0:
        c.setColor(l());
        break;
      case 1:
        c.setCopies(l());
        break;
      case 2:
        c.setDefaultExt(s());
        break;
      case 3:
        c.setDialogTitle(s());
        break;
      case 4:
        c.setFileName(s());
        break;
      case 5:
        c.setFilter(s());
        break;
      case 6:
        c.setFilterIndex(l());
        break;
      case 7:
        c.setFlags(l());
        break;
      case 8:
        c.setFontBold(b());
        break;
      case 9:
        c.setFontCharset(l());
        break;
      case 10:
        c.setFontItalic(b());
        break;
      case 11:
        c.setFontName(s());
        break;
      case 12:
        c.setFontSize(l());
        break;
      case 13:
        c.setFontStrikeThru(b());
        break;
      case 14:
        c.setFontUnderline(b());
        break;
      case 15:
        c.setFromPage(l());
        break;
      case 16:
        c.setHelpCommand(l());
        break;
      case 17:
        c.setHelpContext(l());
        break;
      case 18:
        c.setHelpFile(s());
        break;
      case 19:
        c.setHelpKey(s());
        break;
      case 20:
        c.setInitDir(s());
        break;
      case 21:
        c.setMax(l());
        break;
      case 22:
        c.setMaxFileSize(l());
        break;
      case 23:
        c.setMin(l());
        break;
      case 24:
        c.setOrientation(l());
        break;
      case 25:
        c.setPrinterDefault(b());
        break;
      default:
        c.setToPage(l());
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  fakes::RecordingContainer container;
  FuzzedSystem system(input);
  cmndlg::CmnDlg c(container, system);
  if (input.ConsumeBool()) c.InitProperties();

  for (int round = input.ConsumeIntegralInRange(1, 3); round > 0; --round) {
    SetSome(c, input);
    const auto before = fuzz::AllValues(c);
    const std::size_t announced = container.Announced().size();
    const int32_t action = input.ConsumeIntegralInRange(-1, 8);
    const bool fileDialog = action == 1 || action == 2;
    int32_t raised = 0;
    try {
      c.setAction(action);
    } catch (const platform::RaisedError& error) {
      raised = error.Number();
    }
    fuzz::Require(c.LastError() == 0 || c.LastError() == cmndlg::kCancelError,
                  "LastError is neither 0 nor 32755");
    fuzz::Require(container.Announced().size() == announced, "a dialog announced a property");
    if (action < 1 || action > 6) {
      fuzz::Require(raised == 0 && fuzz::AllValues(c) == before, "an Action outside 1 to 6 did something");
      continue;
    }
    if (raised != 0) {
      const bool longName = fileDialog && std::get<std::string>(before[4]).size() >= 260;
      fuzz::Require((raised == kInvalidArgument && longName) || (raised == kOverflow && action == 4),
                    "error " + std::to_string(raised) + " raised by Action " + std::to_string(action));
      if (raised == kInvalidArgument) {
        auto expected = before;
        expected.back() = int32_t{0};
        fuzz::Require(fuzz::AllValues(c) == expected, "a FileName that does not fit changed a property");
      }
      continue;
    }
    if (fileDialog) {
      fuzz::Require(system.file == BeforeNul(std::get<std::string>(before[4])),
                    "the file buffer is not FileName");
      const std::string& title = std::get<std::string>(before[3]);
      fuzz::Require(system.title == (title.empty() ? (action == 2 ? "Save As" : "Open") : BeforeNul(title)),
                    "the wrong title");
    }
    if (action == 4)
      fuzz::Require(system.faceName == BeforeNul(std::get<std::string>(before[11])).substr(0, 31),
                    "the face name is not FontName cut to 31 bytes");
    if (c.LastError() == cmndlg::kCancelError) {
      auto expected = before;
      expected.back() = cmndlg::kCancelError;
      fuzz::Require(fuzz::AllValues(c) == expected, "a cancelled dialog changed a property");
      continue;
    }
    if (fileDialog) {
      fuzz::Require(c.FileName().size() < 260 && c.FileName().find('\0') == std::string::npos,
                    "FileName came back longer than its buffer or with a NUL");
      fuzz::Require(c.FileTitle().size() < 260 && c.FileTitle().find('\0') == std::string::npos,
                    "FileTitle came back longer than its buffer or with a NUL");
    }
    if (action == 4)
      fuzz::Require(c.FontName().size() <= 31 && c.FontName().find('\0') == std::string::npos,
                    "FontName came back longer than its field or with a NUL");
  }
  return 0;
}
