// A control container that records every call in one log, and a property bag that does the same;
// both can be told to fail a chosen call.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/control_container.h"
#include "cmndlg/property_bag_text.h"

namespace fakes {

// Thrown by the fakes where a failure was asked for.
inline constexpr int32_t kContainerFailure = 1001;

class RecordingContainer : public platform::ControlContainer {
 public:
  // In call order: "PropertyChanged Color", "ParentHwnd", "SurfaceHdc". Drawing and sizing are not logged.
  std::vector<std::string> log;
  std::vector<std::string> Announced() const;  // the names given to PropertyChanged, in order

  int32_t hwnd = 0x00010A2C;
  platform::Handle instance = 0x00400000;
  platform::Handle surfaceHdc = 0x0C01023F;

  // Failures: PropertyChanged for this name; the n-th (from 1) call of SurfaceHdc; every ParentHwnd.
  float twipsPerPixelX = 15.0f;
  float twipsPerPixelY = 15.0f;
  float width = 0;
  float height = 0;
  std::optional<std::string> failAnnouncing;
  int failSurfaceHdcCall = 0;
  bool failParentHwnd = false;

  void PropertyChanged(const std::string& name) override;
  void DrawLine(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
  void SetWidth(float twips) override { width = twips; }
  void SetHeight(float twips) override { height = twips; }
  float TwipsPerPixelX() override { return twipsPerPixelX; }
  float TwipsPerPixelY() override { return twipsPerPixelY; }
  int32_t ParentHwnd() override;
  platform::Handle InstanceHandle() override { return instance; }
  platform::Handle SurfaceHdc() override;

 private:
  int surfaceHdcCalls_ = 0;
};

// A TextPropertyBag that also logs "Read Key" / "Write Key" and can fail its n-th (from 1) call,
// optionally into the container's log so the order of reads and announcements shows.
class RecordingBag : public platform::PropertyBag {
 public:
  explicit RecordingBag(std::vector<std::string>* sharedLog = nullptr)
      : log_(sharedLog ? sharedLog : &ownLog) {}
  RecordingBag(std::string_view text, std::vector<std::string>* sharedLog = nullptr)
      : RecordingBag(sharedLog) {
    bag = cmndlg::TextPropertyBag(text);
  }

  cmndlg::TextPropertyBag bag;
  std::vector<std::string> ownLog;
  int failCall = 0;
  // Answers given instead of the bag's own, by exact name: lets a test hand back any type.
  std::map<std::string, platform::PropertyValue> answers;
  // Every WriteProperty as (name, value, default).
  struct Written {
    std::string name;
    platform::PropertyValue value;
    platform::PropertyValue defaultValue;
  };
  std::vector<Written> written;

  platform::PropertyValue ReadProperty(const std::string& name,
                                       const platform::PropertyValue& defaultValue) override;
  void WriteProperty(const std::string& name, const platform::PropertyValue& value,
                     const platform::PropertyValue& defaultValue) override;

 private:
  void Count();
  std::vector<std::string>* log_;
  int calls_ = 0;
};

}  // namespace fakes
