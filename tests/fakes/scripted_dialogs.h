// System dialogs that log every request as the system sees it, each field on a line of its own and every
// buffer read to its stated length, then answer as a script says. Without a script a dialog is cancelled.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/system_dialogs.h"

namespace fakes {

// Bytes as printable text: ASCII from space to '~' as they are (but '{'), any other byte as {HH}, and a run
// of eight or more equal bytes as {HH*count}. Unescaped reads the same notation back.
std::string Escaped(std::string_view bytes);
std::string Unescaped(std::string_view text);

class ScriptedDialogs : public platform::SystemDialogs {
 public:
  explicit ScriptedDialogs(std::vector<std::string>& log) : log_(log) {}

  // From now on the call named (as "ChooseFontA") returns result after setting fields of its record, each
  // write "field=value" with a number or a quoted escaped text, copied byte for byte into the field's
  // buffer. GetDeviceCaps answers 96 until told otherwise.
  void Answer(const std::string& call, int32_t result, std::vector<std::string> writes = {}) {
    scripts_[call] = {result, std::move(writes)};
  }

  int32_t GetOpenFileNameA(platform::OPENFILENAMEA& r) override { return Call("GetOpenFileNameA", r); }
  int32_t GetSaveFileNameA(platform::OPENFILENAMEA& r) override { return Call("GetSaveFileNameA", r); }
  int32_t ChooseColorA(platform::CHOOSECOLORA& r) override { return Call("ChooseColorA", r); }
  int32_t ChooseFontA(platform::CHOOSEFONTA& r) override { return Call("ChooseFontA", r); }
  int32_t PrintDlgA(platform::PRINTDLGA& r) override { return Call("PrintDlgA", r); }
  int32_t WinHelpA(platform::Handle owner, const char* helpFile, uint32_t command, uintptr_t data) override;
  int32_t GetDeviceCaps(platform::Handle hdc, int32_t index) override;

 private:
  struct Script {
    int32_t result = 0;
    std::vector<std::string> writes;
  };
  // Logs the call and its record, then answers it.
  template <typename Record>
  int32_t Call(const char* name, Record& request);

  std::vector<std::string>& log_;
  std::map<std::string, Script> scripts_{{"GetDeviceCaps", {96, {}}}};
};

}  // namespace fakes
