// A ShellLink object that records its calls in order and can be made to fail at one of them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/shell_link.h"

namespace fakes {

struct ShellLinkScript {
  std::vector<std::string> calls;  // "SetPath Z:\x.exe", "Save ...", "Release IPersistFile" ...
  std::string failAt;              // the call name (first word) that fails
  platform::HResult failure = static_cast<int32_t>(0x80070005u);
  std::u16string savedPath;
};

class RecordingShellLinks : public platform::ShellLinkFactory {
 public:
  explicit RecordingShellLinks(ShellLinkScript& script) : script_(script) {}
  platform::HResult Create(std::unique_ptr<platform::ShellLink>& link) override;

 private:
  ShellLinkScript& script_;
};

}  // namespace fakes
