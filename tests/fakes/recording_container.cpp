#include "tests/fakes/recording_container.h"


#include "platform/errors.h"

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
  if (failAnnouncing && *failAnnouncing == name) Fail("PropertyChanged " + name);
}

int32_t RecordingContainer::ParentHwnd() {
  log.push_back("ParentHwnd");
  if (failParentHwnd) Fail("ParentHwnd");
  return hwnd;
}

platform::Handle RecordingContainer::SurfaceHdc() {
  log.push_back("SurfaceHdc");
  if (++surfaceHdcCalls_ == failSurfaceHdcCall) Fail("SurfaceHdc");
  return surfaceHdc;
}

void RecordingBag::Count() {
  if (++calls_ == failCall) Fail("Property bag");
}

platform::PropertyValue RecordingBag::ReadProperty(const std::string& name,
                                                   const platform::PropertyValue& defaultValue) {
  log_->push_back("Read " + name);
  Count();
  if (const auto answer = answers.find(name); answer != answers.end()) return answer->second;
  return bag.ReadProperty(name, defaultValue);
}

void RecordingBag::WriteProperty(const std::string& name, const platform::PropertyValue& value,
                                 const platform::PropertyValue& defaultValue) {
  log_->push_back("Write " + name);
  Count();
  written.push_back({name, value, defaultValue});
  bag.WriteProperty(name, value, defaultValue);
}

}  // namespace fakes
