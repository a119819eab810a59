// A control container that logs its calls in one log, and a property bag that logs into the same one;
// either can be told to fail a chosen call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cmndlg/cmn_dlg.h"
#include "cmndlg/property_bag_text.h"
#include "platform/control_container.h"
#include "platform/errors.h"
#include "tests/fakes/scripted_dialogs.h"

namespace fakes {

// Thrown by the fakes where a failure was asked for.
inline constexpr int32_t kContainerFailure = 1001;

// A value as the property text writes it: a number, or a String in quotes with its bytes escaped;
// a Boolean as True or False.
inline std::string Shown(const platform::PropertyValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return '"' + Escaped(*text) + '"';
  if (const auto* boolean = std::get_if<int16_t>(&value)) {
    return *boolean == -1 ? "True" : *boolean == 0 ? "False" : "Boolean " + std::to_string(*boolean);
  }
  return std::to_string(std::get<int32_t>(value));
}

class RecordingContainer : public platform::ControlContainer {
 public:
  // In call order: "PropertyChanged Color", "ParentHwnd", "SurfaceHdc". Drawing and sizing are not logged.
  std::vector<std::string> log;

  int32_t hwnd = 0x00010A2C;
  float twipsPerPixelX = 15.0f, twipsPerPixelY = 15.0f;
  float width = 0, height = 0;
  // The failIn-th call from now whose entry starts with failing fails, the container's or the bag's.
  std::string failing;
  int failIn = 0;

  // Adds entry to the log, then fails if it is the call to fail.
  void Log(const std::string& entry) {
    log.push_back(entry);
    if (failIn > 0 && entry.starts_with(failing) && --failIn == 0) {
      throw platform::RaisedError(kContainerFailure, entry + " failed");
    }
  }

  void PropertyChanged(const std::string& name) override { Log("PropertyChanged " + name); }
  void DrawLine(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
  void SetWidth(float twips) override { width = twips; }
  void SetHeight(float twips) override { height = twips; }
  float TwipsPerPixelX() override { return twipsPerPixelX; }
  float TwipsPerPixelY() override { return twipsPerPixelY; }
  int32_t ParentHwnd() override {
    Log("ParentHwnd");
    return hwnd;
  }
  platform::Handle InstanceHandle() override { return 0x00400000; }
  platform::Handle SurfaceHdc() override {
    Log("SurfaceHdc");
    return 0x0C01023F;
  }
};

// A TextPropertyBag that logs "Read Key (default)" and "Write Key = value (default)" through the container.
class RecordingBag : public platform::PropertyBag {
 public:
  RecordingBag(RecordingContainer& container, std::string_view text = {})
      : bag(text), container_(container) {}

  cmndlg::TextPropertyBag bag;

  platform::PropertyValue ReadProperty(const std::string& name,
                                       const platform::PropertyValue& defaultValue) override {
    container_.Log("Read " + name + " (" + Shown(defaultValue) + ")");
    return bag.ReadProperty(name, defaultValue);
  }
  void WriteProperty(const std::string& name, const platform::PropertyValue& value,
                     const platform::PropertyValue& defaultValue) override {
    container_.Log("Write " + name + " = " + Shown(value) + " (" + Shown(defaultValue) + ")");
    bag.WriteProperty(name, value, defaultValue);
  }

 private:
  RecordingContainer& container_;
};

// Every value a control keeps, by name: the 27 saved ones as WriteProperties hands them over, then the
// results FileTitle, hdc and LastError, each Shown.
inline std::vector<std::pair<std::string, std::string>> State(const cmndlg::CmnDlg& dlg) {
  struct StateBag : platform::PropertyBag {
    std::vector<std::pair<std::string, std::string>> values;
    platform::PropertyValue ReadProperty(const std::string&, const platform::PropertyValue& value) override {
      return value;
    }
    void WriteProperty(const std::string& name, const platform::PropertyValue& value,
                       const platform::PropertyValue&) override {
      values.emplace_back(name, Shown(value));
    }
  } bag;
  dlg.WriteProperties(bag);
  bag.values.emplace_back("FileTitle", Shown(dlg.FileTitle()));
  bag.values.emplace_back("hdc", std::to_string(dlg.hdc()));
  bag.values.emplace_back("LastError", std::to_string(dlg.LastError()));
  return bag.values;
}

}  // namespace fakes
