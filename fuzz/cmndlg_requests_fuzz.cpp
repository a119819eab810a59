// CmnDlg's dialog methods with arbitrary property values and a system that answers arbitrarily, as far
// as the system's own contract allows (it may fill a buffer to its stated length, with or without a NUL).
// The scripted system reads every buffer to its stated length and every text to its NUL, so a buffer
// shorter than the control claims, or a text without its NUL, shows as an AddressSanitizer report.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "cmndlg/cmn_dlg.h"
#include "cmndlg/property_bag_text.h"
#include "fuzz/fuzz_check.h"
#include "platform/errors.h"
#include "tests/fakes/recording_container.h"
#include "tests/fakes/scripted_dialogs.h"
#include "tests/fakes/table_file.h"

namespace {

constexpr int32_t kOverflow = 6;

std::string BeforeNul(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

// How the system answers the dialog of this Action: a result and arbitrary values in fields of its
// record (see tests/data/fuzz/cmndlg_requests.fields).
void Script(fakes::ScriptedDialogs& system, FuzzedDataProvider& input, int32_t action) {
  static const auto kFields = fakes::ReadTable("fuzz/cmndlg_requests.fields");
  static const char* const kCalls[] = {"GetOpenFileNameA", "GetSaveFileNameA", "ChooseColorA",
                                       "ChooseFontA",      "PrintDlgA",        "WinHelpA"};
  system.Answer("GetDeviceCaps", input.ConsumeIntegral<int32_t>());
  if (action < 1 || action > 6) return;
  const int32_t result = input.ConsumeBool() ? input.ConsumeIntegral<int32_t>() : 0;
  std::vector<std::string> writes;
  for (const fakes::Row& field : kFields) {
    if (field.at(0) != std::to_string(action) || (result == 0 && !input.ConsumeBool())) continue;
    const std::size_t length = std::stoul(field.at(2));  // of a text's buffer; 0 for a number
    std::string text = length == 0 ? "" : input.ConsumeRandomLengthString(length);
    if (length != 0 && (result != 0 || input.ConsumeBool())) text = text.substr(0, length - 1) + '\0';
    writes.push_back(
        field[1] + "=" +
        (length == 0 ? std::to_string(input.ConsumeIntegral<int32_t>()) : '"' + fakes::Escaped(text) + '"'));
  }
  system.Answer(kCalls[action - 1], result, writes);
}

// A text field's bytes as the last request showed them in the log; empty when it did not show.
std::string Handed(const std::vector<std::string>& log, const std::string& field) {
  const std::string prefix = "    " + field + "=\"";
  for (const std::string& line : log)
    if (line.starts_with(prefix))
      return fakes::Unescaped(line.substr(prefix.size(), line.size() - prefix.size() - 1));
  return "";
}

// Saved settings that answer each property with its default or an arbitrary value of its type.
struct FuzzedBag : cmndlg::TextPropertyBag {
  explicit FuzzedBag(FuzzedDataProvider& fuzzed) : input(fuzzed) {}
  platform::PropertyValue ReadProperty(const std::string&, const platform::PropertyValue& value) override {
    if (!input.ConsumeBool()) return value;
    if (std::holds_alternative<int32_t>(value)) return input.ConsumeIntegral<int32_t>();
    if (std::holds_alternative<int16_t>(value)) return input.ConsumeIntegral<int16_t>();
    return input.ConsumeRandomLengthString(300);
  }
  FuzzedDataProvider& input;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  fakes::RecordingContainer container;
  fakes::ScriptedDialogs system(container.log);
  cmndlg::CmnDlg c(container, system);
  if (input.ConsumeBool()) c.InitProperties();

  for (int round = input.ConsumeIntegralInRange(1, 3); round > 0; --round) {
    FuzzedBag bag(input);
    if (input.ConsumeBool()) c.ReadProperties(bag);
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
    if (raised != 0) {
      const bool longName = fileDialog && fileName.size() >= 260;
      fuzz::Require((raised == cmndlg::kInvalidArgument && longName && c.LastError() == 0) ||
                        (raised == kOverflow && action == 4),
                    "error " + std::to_string(raised) + " raised by Action " + std::to_string(action));
    }
    // An Action outside 1 to 6 does nothing; a FileName that does not fit, or a cancelled dialog,
    // changes nothing but LastError.
    const bool outside = action < 1 || action > 6;
    fuzz::Require(!outside || log.empty(), "an Action outside 1 to 6 called the system");
    auto unchanged = before;
    if (!outside) unchanged.back().second = std::to_string(c.LastError());
    if (outside || raised == cmndlg::kInvalidArgument ||
        (raised == 0 && c.LastError() == cmndlg::kCancelError))
      fuzz::Require(fakes::State(c) == unchanged,
                    "an Action outside 1 to 6, a cancelled dialog or a refused FileName changed a property");
    if (outside || raised != 0) continue;
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
