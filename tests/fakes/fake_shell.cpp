#include "tests/fakes/fake_shell.h"

namespace fakes {
namespace {

platform::HResult Record(ShellLinkScript& script, const std::string& name, const std::string& detail) {
  script.calls.push_back(detail.empty() ? name : name + " " + detail);
  return script.failAt == name ? script.failure : platform::kSOk;
}

class RecordingPersistFile : public platform::PersistFile {
 public:
  explicit RecordingPersistFile(ShellLinkScript& script) : script_(script) {}
  ~RecordingPersistFile() override { script_.calls.push_back("Release IPersistFile"); }
  platform::HResult Save(const std::u16string& fileName, bool remember) override {
    script_.savedPath = fileName;
    return Record(script_, "Save", remember ? "remember" : "forget");
  }

 private:
  ShellLinkScript& script_;
};

class RecordingShellLink : public platform::ShellLink {
 public:
  explicit RecordingShellLink(ShellLinkScript& script) : script_(script) {}
  ~RecordingShellLink() override { script_.calls.push_back("Release IShellLinkA"); }
  platform::HResult SetPath(const std::string& file) override { return Record(script_, "SetPath", file); }
  platform::HResult SetWorkingDirectory(const std::string& dir) override {
    return Record(script_, "SetWorkingDirectory", dir);
  }
  platform::HResult SetArguments(const std::string& args) override {
    return Record(script_, "SetArguments", args);
  }
  platform::HResult SetDescription(const std::string& name) override {
    return Record(script_, "SetDescription", name);
  }
  platform::HResult SetIconLocation(const std::string& iconPath, int32_t icon) override {
    return Record(script_, "SetIconLocation", iconPath + "," + std::to_string(icon));
  }
  platform::HResult SetShowCmd(int32_t showCmd) override {
    return Record(script_, "SetShowCmd", std::to_string(showCmd));
  }
  platform::HResult Resolve(std::uintptr_t window, uint32_t flags) override {
    return Record(script_, "Resolve", std::to_string(window) + "," + std::to_string(flags));
  }
  platform::HResult QueryPersistFile(std::unique_ptr<platform::PersistFile>& file) override {
    const platform::HResult result = Record(script_, "QueryInterface", "IPersistFile");
    if (result >= 0) file = std::make_unique<RecordingPersistFile>(script_);
    return result;
  }

 private:
  ShellLinkScript& script_;
};

}  // namespace

platform::HResult RecordingShellLinks::Create(std::unique_ptr<platform::ShellLink>& link) {
  const platform::HResult result = Record(script_, "CoCreateInstance", "ShellLink");
  if (result >= 0) link = std::make_unique<RecordingShellLink>(script_);
  return result;
}

}  // namespace fakes
