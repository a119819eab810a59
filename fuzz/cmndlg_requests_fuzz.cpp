// CmnDlg's dialog methods with arbitrary property values and a system that answers arbitrarily, as far
// as the system's own contract allows (it may fill a buffer to its stated length, with or without a NUL).
// The scripted system reads every buffer to its stated length and every text to its NUL, so a buffer
// shorter than the control claims, or a text without its NUL, shows as an AddressSanitizer report.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "cmndlg/cmn_dlg.h"
#include "fuzz/fuzz_check.h"
#include "platform/errors.h"
#include "tests/fakes/recording_container.h"
#include "tests/fakes/scripted_dialogs.h"

namespace {

constexpr int32_t kInvalidArgument = 5;
constexpr int32_t kOverflow = 6;

std::string BeforeNul(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

// How the system answers the dialog of this Action: a result and, when it confirms (a cancelled file
// dialog may scribble too), arbitrary values in the fields it may write. A confirming system NUL-ends
// its texts; scribbles need not be.
void Script(fakes::ScriptedDialogs& system, FuzzedDataProvider& input, int32_t action) {
  const int32_t result = input.ConsumeBool() ? input.ConsumeIntegral<int32_t>() : 0;
  std::vector<std::string> writes;
  const auto numbers = [&](std::initializer_list<const char*> fields) {
    for (const char* field : fields) {
      writes.push_back(std::string(field) + "=" + std::to_string(input.ConsumeIntegral<int32_t>()));
    }
  };
  const auto text = [&](const char* field, size_t length) {
    std::string bytes = input.ConsumeRandomLengthString(length);
    if (result != 0 || input.ConsumeBool()) bytes = bytes.substr(0, length - 1) + '\0';
    writes.push_back(std::string(field) + "=\"" + fakes::Escaped(bytes) + '"');
  };
  if ((action == 1 || action == 2) && (result != 0 || input.ConsumeBool())) {
    text("lpstrFile", 260), text("lpstrFileTitle", 260), text("lpstrCustomFilter", 1024);
    numbers({"nFilterIndex", "Flags"});
  }
  if (action == 3) text("lpCustColors", 64);
  if (result != 0 && action == 3) numbers({"rgbResult", "Flags"});
  if (result != 0 && action == 4) {
    numbers({"lfHeight", "lfWeight", "lfItalic", "lfUnderline", "lfStrikeOut", "lfCharSet", "rgbColors",
             "Flags"});
    text("lfFaceName", 32);
  }
  if (result != 0 && action == 5) numbers({"hDC", "Flags", "nFromPage", "nToPage", "nCopies"});
  static const char* const kCalls[] = {"GetOpenFileNameA", "GetSaveFileNameA", "ChooseColorA",
                                       "ChooseFontA",      "PrintDlgA",        "WinHelpA"};
  if (action >= 1 && action <= 6) system.Answer(kCalls[action - 1], result, writes);
  system.Answer("GetDeviceCaps", input.ConsumeIntegral<int32_t>());
}

// A text field's bytes as the last request showed them in the log; empty when it did not show.
std::string Handed(const std::vector<std::string>& log, const std::string& field) {
  const std::string prefix = "    " + field + "=\"";
  for (const std::string& line : log) {
    if (line.starts_with(prefix))
      return fakes::Unescaped(line.substr(prefix.size(), line.size() - prefix.size() - 1));
  }
  return "";
}

// A few properties set to arbitrary values through their setters.
void SetSome(cmndlg::CmnDlg& c, FuzzedDataProvider& input) {
  using C = cmndlg::CmnDlg;
  static constexpr void (C::*kLongs[])(int32_t) = {
      &C::setColor,       &C::setCopies,   &C::setFilterIndex, &C::setFlags,       &C::setFontCharset,
      &C::setFontSize,    &C::setFromPage, &C::setHelpCommand, &C::setHelpContext, &C::setMax,
      &C::setMaxFileSize, &C::setMin,      &C::setOrientation, &C::setToPage};
  static constexpr void (C::*kBooleans[])(int16_t) = {
      &C::setFontBold, &C::setFontItalic, &C::setFontStrikeThru, &C::setFontUnderline, &C::setPrinterDefault};
  static constexpr void (C::*kTexts[])(const std::string&) = {
      &C::setDefaultExt, &C::setDialogTitle, &C::setFileName, &C::setFilter,
      &C::setFontName,   &C::setHelpFile,    &C::setHelpKey,  &C::setInitDir};
  for (int sets = input.ConsumeIntegralInRange(0, 12); sets > 0; --sets) {
    const int kind = input.ConsumeIntegralInRange(0, 2);
    if (kind == 0) (c.*input.PickValueInArray(kLongs))(input.ConsumeIntegral<int32_t>());
    if (kind == 1) (c.*input.PickValueInArray(kBooleans))(input.ConsumeIntegral<int16_t>());
    if (kind == 2) (c.*input.PickValueInArray(kTexts))(input.ConsumeRandomLengthString(300));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  fakes::RecordingContainer container;
  fakes::ScriptedDialogs system(container.log);
  cmndlg::CmnDlg c(container, system);
  if (input.ConsumeBool()) c.InitProperties();

  for (int round = input.ConsumeIntegralInRange(1, 3); round > 0; --round) {
    SetSome(c, input);
    const auto before = fakes::State(c);
    const std::string fileName = c.FileName(), dialogTitle = c.DialogTitle(), fontName = c.FontName();
    const int32_t action = input.ConsumeIntegralInRange(-1, 8);
    const bool fileDialog = action == 1 || action == 2;
    Script(system, input, action);
    container.log.clear();
    int32_t raised = 0;
    try {
      c.setAction(action);
    } catch (const platform::RaisedError& error) {
      raised = error.Number();
    }
    const std::vector<std::string>& log = container.log;
    fuzz::Require(c.LastError() == 0 || c.LastError() == cmndlg::kCancelError,
                  "LastError is neither 0 nor 32755");
    for (const std::string& line : log) {
      fuzz::Require(!line.starts_with("PropertyChanged"), "a dialog announced a property");
      fuzz::Require(!line.starts_with("    lStructSize=") || line.ends_with("=sizeof"),
                    "a record of a wrong size");
      fuzz::Require(!line.ends_with("=null") || line.find("Hook") != std::string::npos ||
                        line.find("Template") != std::string::npos ||
                        line.find("lpszStyle") != std::string::npos,
                    line + ": the system needs this pointer");
    }
    for (const char* sized : {"lpstrFile", "lpstrFileTitle", "lpstrCustomFilter", "lfFaceName"}) {
      const std::string bytes = Handed(log, sized);
      fuzz::Require(bytes.empty() || bytes.find('\0') != std::string::npos,
                    std::string(sized) + " is not NUL-ended within its length");
    }
    if (action < 1 || action > 6) {
      fuzz::Require(raised == 0 && log.empty() && fakes::State(c) == before,
                    "an Action outside 1 to 6 did something");
      continue;
    }
    if (raised != 0) {
      const bool longName = fileDialog && fileName.size() >= 260;
      fuzz::Require((raised == kInvalidArgument && longName && c.LastError() == 0) ||
                        (raised == kOverflow && action == 4),
                    "error " + std::to_string(raised) + " raised by Action " + std::to_string(action));
    }
    // A FileName that does not fit, or a cancelled dialog, changes nothing but LastError.
    auto unchanged = before;
    unchanged.back().second = std::to_string(c.LastError());
    if (raised == kInvalidArgument || (raised == 0 && c.LastError() == cmndlg::kCancelError))
      fuzz::Require(fakes::State(c) == unchanged,
                    "a cancelled dialog or a refused FileName changed a property");
    if (raised != 0) continue;
    if (fileDialog) {
      fuzz::Require(BeforeNul(Handed(log, "lpstrFile")) == BeforeNul(fileName),
                    "the file buffer is not FileName");
      fuzz::Require(Handed(log, "lpstrTitle") ==
                        (dialogTitle.empty() ? (action == 2 ? "Save As" : "Open") : BeforeNul(dialogTitle)),
                    "the wrong title");
    }
    if (action == 4)
      fuzz::Require(BeforeNul(Handed(log, "lfFaceName")) == BeforeNul(fontName).substr(0, 31),
                    "the face name is not FontName cut to 31 bytes");
    if (c.LastError() == cmndlg::kCancelError) continue;
    for (const std::string& name : {c.FileName(), c.FileTitle()})
      fuzz::Require(!fileDialog || (name.size() < 260 && name.find('\0') == std::string::npos),
                    "FileName or FileTitle came back longer than its buffer or with a NUL");
    if (action == 4)
      fuzz::Require(c.FontName().size() <= 31 && c.FontName().find('\0') == std::string::npos,
                    "FontName came back longer than its field or with a NUL");
  }
  return 0;
}
