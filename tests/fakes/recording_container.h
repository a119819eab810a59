// A control container that logs its calls in one log, and a property bag that logs into the same one;
// either can be told to fail a chosen call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cmndlg/property_bag_text.h"
#include "platform/control_container.h"

namespace cmndlg {
class CmnDlg;
}

namespace fakes {

// Thrown by the fakes where a failure was asked for.
inline constexpr int32_t kContainerFailure = 1001;

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
  void Log(const std::string& entry);

  void PropertyChanged(const std::string& name) override;
  void DrawLine(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
  void SetWidth(float twips) override { width = twips; }
  void SetHeight(float twips) override { height = twips; }
  float TwipsPerPixelX() override { return twipsPerPixelX; }
  float TwipsPerPixelY() override { return twipsPerPixelY; }
  int32_t ParentHwnd() override;
  platform::Handle InstanceHandle() override { return 0x00400000; }
  platform::Handle SurfaceHdc() override;
};

// A TextPropertyBag that logs "Read Key (default)" and "Write Key = value (default)" through the container.
class RecordingBag : public platform::PropertyBag {
 public:
  RecordingBag(RecordingContainer& container, std::string_view text = {})
      : bag(text), container_(container) {}

  cmndlg::TextPropertyBag bag;

  platform::PropertyValue ReadProperty(const std::string& name,
                                       const platform::PropertyValue& defaultValue) override;
  void WriteProperty(const std::string& name, const platform::PropertyValue& value,
                     const platform::PropertyValue& defaultValue) override;

 private:
  RecordingContainer& container_;
};

// A value as the property text writes it: a number, or a String in quotes with its bytes escaped;
// a Boolean as True or False.
std::string Shown(const platform::PropertyValue& value);
// Every value a control keeps, by name: the 27 saved ones as WriteProperties hands them over, then the
// results FileTitle, hdc and LastError, each Shown.
std::vector<std::pair<std::string, std::string>> State(const cmndlg::CmnDlg& dlg);

}  // namespace fakes
