// PackProject over the fault-injecting fake file system: an arbitrary model and source project file,
// source and target folders with ordinary, read-only, special and hard-linked files, and arbitrary
// steps made to fail. Exactly one message; "Project saved." exactly when no counted step failed;
// nothing written outside the target folder; the source files never changed.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "pack/mdl_file_pack.h"
#include "tests/fakes/fake_pack_files.h"
#include "tests/fakes/recording_ui.h"
#include "tests/fakes/table_file.h"

namespace {

// Whether a path (as the fake resolves it) is a file directly in the target folder.
bool InTargetFolder(const std::string& key) {
  const std::string folder = fakes::FakePackFiles::Key("D:\\out") + "\\";
  return key.starts_with(folder) && key.find('\\', folder.size()) == std::string::npos;
}

// Whether the last name of a component's path can only be a file directly in the target folder: not
// empty once trailing dots and blanks go, no separator, drive or control character in it.
bool StaysInFolder(const std::string& path) {
  const std::string name = path.substr(path.rfind('\\') + 1);  // npos + 1 is 0
  return name.find_last_not_of(". ") != std::string::npos &&
         std::ranges::none_of(name, [](char c) { return c == '/' || c == ':' || (c >= 0 && c < 32); });
}

// The names to pick from, by what they are for (see tests/data/fuzz/pack_project.names).
std::map<std::string, std::vector<std::string>> ReadNames() {
  std::map<std::string, std::vector<std::string>> names;
  for (const fakes::Row& row : fakes::ReadTable("fuzz/pack_project.names", "|", 2))
    names[row[0]].push_back(row.at(1));
  return names;
}
const auto kNames = ReadNames();

std::string Pick(FuzzedDataProvider& input, const std::string& kind) {
  const std::vector<std::string>& from = kNames.at(kind);
  return from[input.ConsumeIntegralInRange<std::size_t>(0, from.size() - 1)];
}

// Every name outside the target folder, with what it holds.
std::map<std::string, std::string> Outside(const fakes::FakePackFiles& files) {
  auto all = files.Snapshot();
  std::erase_if(all, [](const auto& entry) { return InTargetFolder(entry.first); });
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  fakes::FakePackFiles files;
  fakes::InjectingPackFiles injecting(files);

  files.Put("C:\\src\\App.vbp", input.ConsumeRandomLengthString(2048));
  for (const std::string& path : kNames.at("source"))
    if (input.ConsumeBool()) files.Put(path, input.ConsumeRandomLengthString(16));
  files.Put("C:\\src\\Tools.bas", "tools");
  files.Link("C:\\src\\Tools.bas", "C:\\src\\Linked.bas");
  files.PutSpecial("C:\\src\\Fifo.bas");
  for (const std::string& path : kNames.at("target")) {
    if (input.ConsumeBool()) files.Put(path, "old");
    if (input.ConsumeBool() && files.Content(path)) files.SetReadOnly(path);
  }
  if (input.ConsumeBool()) files.PutSpecial("D:\\out\\Util.bas");
  if (input.ConsumeBool()) files.Link("C:\\src\\Tools.bas", "D:\\out\\Tools.bas");

  mdlFile::ProjectModel model{.filePath = "C:\\src\\App.vbp"};
  for (int count = input.ConsumeIntegralInRange(0, 12); count > 0; --count) {
    // A braced list is evaluated in order: kind, name, then path.
    model.components.push_back(
        {input.ConsumeIntegralInRange(-1, 9), input.ConsumeRandomLengthString(8),
         input.ConsumeBool() ? Pick(input, "piece") : input.ConsumeRandomLengthString(24)});
  }
  model.count = static_cast<int32_t>(model.components.size());
  for (int faults = input.ConsumeIntegralInRange(0, 6); faults > 0; --faults) {
    const std::string step = Pick(input, "step");
    const std::string path = input.ConsumeBool() ? Pick(input, "fault") : "";
    injecting.faults.push_back({step, path, input.ConsumeIntegralInRange<std::size_t>(0, 64)});
  }
  const std::string target = Pick(input, "save");

  const auto outsideBefore = Outside(files);
  const bool rejected =
      !std::ranges::all_of(model.components, [](const auto& c) { return StaysInFolder(c.path); });

  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages(&pointer);
  const bool saved = mdlFile::PackProject(model, target, {injecting, pointer, messages});

  for (const std::string& written : files.Written())
    fuzz::Require(InTargetFolder(written), "wrote " + written + ", outside the target folder");
  // A name given a second, different file lost the first one: the pack must say so.
  bool collided = false;
  std::map<std::string, platform::FileIdentity> copiedTo;
  for (const auto& [to, copied] : files.Copies())
    collided |= std::exchange(copiedTo.try_emplace(to, copied).first->second, copied) != copied;
  const bool anyFailed = injecting.Failures() > 0 || collided || rejected;
  fuzz::Require(saved == !anyFailed, saved ? "\"Project saved.\" although a step failed"
                                           : "\"Error during save.\" although no step failed");
  // The pointer is restored before the one message shows.
  const std::string said =
      saved ? messages.Said("Project saved.", platform::MB_OK | platform::MB_ICONINFORMATION)
            : messages.Said("Error during save.", platform::MB_OK | platform::MB_ICONERROR);
  fuzz::Require(messages.Only() == said, "not the one message " + said + " but " + messages.Only());
  fuzz::Require(files.OpenCount() == 0, "a file was left open");
  fuzz::Require(Outside(files) == outsideBefore, "a file outside the target folder changed");
  return 0;
}
