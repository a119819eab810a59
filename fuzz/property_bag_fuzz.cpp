// Saved settings text of arbitrary bytes: it loads into a control or gives an error, and whatever
// loads saves and loads back to the same 27 values.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "cmndlg/cmn_dlg.h"
#include "cmndlg/property_bag_text.h"
#include "fuzz/fuzz_check.h"
#include "platform/errors.h"
#include "tests/fakes/recording_container.h"
#include "tests/fakes/scripted_dialogs.h"

namespace {

struct Control {
  fakes::RecordingContainer container;
  fakes::ScriptedDialogs dialogs{container.log};
  cmndlg::CmnDlg dlg{container, dialogs};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Control loaded, again;
  try {
    cmndlg::TextPropertyBag bag(std::string_view(reinterpret_cast<const char*>(data), size));
    loaded.dlg.ReadProperties(bag);
  } catch (const platform::RaisedError&) {
    return 0;  // text that is no saved settings, or a value of the wrong type: an error, as it should be
  }
  const auto& log = loaded.container.log;
  fuzz::Require(std::count_if(log.begin(), log.end(),
                              [](const auto& e) { return e.starts_with("PropertyChanged"); }) == 27,
                "loading did not announce all 27 properties");

  cmndlg::TextPropertyBag saved, savedAgain;
  loaded.dlg.WriteProperties(saved);  // what was loaded from text can always be written as text
  cmndlg::TextPropertyBag reread(saved.Text());
  again.dlg.ReadProperties(reread);
  fuzz::Require(fakes::State(again.dlg) == fakes::State(loaded.dlg),
                "saving and loading back changed a value");
  // Saving the reloaded control gives the same text: nothing drifts from one round to the next.
  again.dlg.WriteProperties(savedAgain);
  fuzz::Require(savedAgain.Text() == saved.Text(), "a second round gave other text");
  return 0;
}
