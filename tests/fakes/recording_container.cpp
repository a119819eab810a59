#include "tests/fakes/recording_container.h"

#include "cmndlg/cmn_dlg.h"
#include "platform/errors.h"
#include "tests/fakes/scripted_dialogs.h"

namespace fakes {

namespace {

struct StateBag : platform::PropertyBag {
  std::vector<std::pair<std::string, std::string>> values;
  platform::PropertyValue ReadProperty(const std::string&, const platform::PropertyValue& value) override {
    return value;
  }
  void WriteProperty(const std::string& name, const platform::PropertyValue& value,
                     const platform::PropertyValue&) override {
    values.emplace_back(name, Shown(value));
  }
};

}  // namespace

void RecordingContainer::Log(const std::string& entry) {
  log.push_back(entry);
  if (failIn > 0 && entry.starts_with(failing) && --failIn == 0) {
    throw platform::RaisedError(kContainerFailure, entry + " failed");
  }
}

void RecordingContainer::PropertyChanged(const std::string& name) {
  Log("PropertyChanged " + name);
}

int32_t RecordingContainer::ParentHwnd() {
  Log("ParentHwnd");
  return hwnd;
}

platform::Handle RecordingContainer::SurfaceHdc() {
  Log("SurfaceHdc");
  return 0x0C01023F;
}

platform::PropertyValue RecordingBag::ReadProperty(const std::string& name,
                                                   const platform::PropertyValue& defaultValue) {
  container_.Log("Read " + name + " (" + Shown(defaultValue) + ")");
  return bag.ReadProperty(name, defaultValue);
}

void RecordingBag::WriteProperty(const std::string& name, const platform::PropertyValue& value,
                                 const platform::PropertyValue& defaultValue) {
  container_.Log("Write " + name + " = " + Shown(value) + " (" + Shown(defaultValue) + ")");
  bag.WriteProperty(name, value, defaultValue);
}

std::string Shown(const platform::PropertyValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return '"' + Escaped(*text) + '"';
  if (const auto* boolean = std::get_if<int16_t>(&value)) {
    return *boolean == -1 ? "True" : *boolean == 0 ? "False" : "Boolean " + std::to_string(*boolean);
  }
  return std::to_string(std::get<int32_t>(value));
}

std::vector<std::pair<std::string, std::string>> State(const cmndlg::CmnDlg& dlg) {
  StateBag bag;
  dlg.WriteProperties(bag);
  bag.values.emplace_back("FileTitle", Shown(dlg.FileTitle()));
  bag.values.emplace_back("hdc", std::to_string(dlg.hdc()));
  bag.values.emplace_back("LastError", std::to_string(dlg.LastError()));
  return bag.values;
}

}  // namespace fakes
