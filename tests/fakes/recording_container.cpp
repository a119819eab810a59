#include "tests/fakes/recording_container.h"

#include "platform/errors.h"
#include "tests/fakes/scripted_dialogs.h"

namespace fakes {

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw platform::RaisedError(kContainerFailure, what + " failed");
}

}  // namespace

std::vector<std::string> RecordingContainer::Announced() const {
  const std::string prefix = "PropertyChanged ";
  std::vector<std::string> names;
  for (const std::string& entry : log) {
    if (entry.rfind(prefix, 0) == 0) names.push_back(entry.substr(prefix.size()));
  }
  return names;
}

void RecordingContainer::PropertyChanged(const std::string& name) {
  log.push_back("PropertyChanged " + name);
  if (failAnnouncing == name) Fail("PropertyChanged " + name);
}

int32_t RecordingContainer::ParentHwnd() {
  log.push_back("ParentHwnd");
  if (failParentHwnd) Fail("ParentHwnd");
  return hwnd;
}

platform::Handle RecordingContainer::SurfaceHdc() {
  log.push_back("SurfaceHdc");
  if (failSurfaceHdcIn > 0 && --failSurfaceHdcIn == 0) Fail("SurfaceHdc");
  return surfaceHdc;
}

void RecordingBag::Log(std::string entry) {
  log_.push_back(std::move(entry));
  if (failIn > 0 && --failIn == 0) Fail("Property bag");
}

platform::PropertyValue RecordingBag::ReadProperty(const std::string& name,
                                                   const platform::PropertyValue& defaultValue) {
  Log("Read " + name + " (" + Shown(defaultValue) + ")");
  return bag.ReadProperty(name, defaultValue);
}

void RecordingBag::WriteProperty(const std::string& name, const platform::PropertyValue& value,
                                 const platform::PropertyValue& defaultValue) {
  Log("Write " + name + " = " + Shown(value) + " (" + Shown(defaultValue) + ")");
  bag.WriteProperty(name, value, defaultValue);
}

std::string Shown(const platform::PropertyValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return '"' + Escaped(*text) + '"';
  if (const auto* boolean = std::get_if<int16_t>(&value)) {
    return *boolean == -1 ? "True" : *boolean == 0 ? "False" : "Boolean " + std::to_string(*boolean);
  }
  return std::to_string(std::get<int32_t>(value));
}

}  // namespace fakes
