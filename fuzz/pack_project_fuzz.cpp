// PackProject over the fault-injecting fake file system: an arbitrary model and source project file,
// source and target folders with ordinary, read-only, special and hard-linked files, a target that may be
// any of them, arbitrary steps made to fail, a disk that fills at any byte and a kill at any step.
// Exactly one message; "Project saved." exactly when no counted step failed; nothing written outside the
// target folder; the source files never changed; the project file whole or not at all; after a kill,
// every name holds its earlier bytes or what the whole pack puts there.
#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "pack/mdl_file_pack.h"
#include "project/mdl_trim.h"
#include "tests/fakes/fake_pack_files.h"
#include "tests/fakes/recording_ui.h"
#include "tests/fakes/table_file.h"

namespace {

// Whether a path (as the fake resolves it) is a file directly in the folder (as the fake resolves it).
bool InFolder(const std::string& key, const std::string& folder) {
  return key.starts_with(folder + "\\") && key.find('\\', folder.size() + 1) == std::string::npos;
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

// Every name outside the folder, with what it holds.
std::map<std::string, std::string> Outside(const fakes::FakePackFiles& files, const std::string& folder) {
  auto all = files.Snapshot();
  std::erase_if(all, [&](const auto& entry) { return InFolder(entry.first, folder); });
  return all;
}

// What a name holds in a snapshot, or "(none)".
std::string Held(const std::map<std::string, std::string>& snapshot, const std::string& key) {
  const auto found = snapshot.find(key);
  return found == snapshot.end() ? "(none)" : found->second;
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
  // A full disk at any byte, a kill at any step.
  if (input.ConsumeBool()) injecting.diskSpace = input.ConsumeIntegralInRange<std::size_t>(0, 4096);
  if (input.ConsumeBool()) injecting.killAtStep = input.ConsumeIntegralInRange<std::size_t>(0, 80);
  const std::string folder = fakes::FakePackFiles::Key(target.substr(0, target.rfind('\\')));

  const auto before = files.Snapshot();
  const bool rejected =
      !std::ranges::all_of(model.components, [](const auto& c) { return StaysInFolder(c.path); });
  // The same pack, not killed: what every name holds once it has run to its end.
  fakes::FakePackFiles whole = files;
  fakes::FakePackFiles original = files;
  fakes::InjectingPackFiles wholeInjecting(whole);
  wholeInjecting.faults = injecting.faults;
  wholeInjecting.diskSpace = injecting.diskSpace;

  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages(&pointer);
  bool saved = false;
  try {
    saved = mdlFile::PackProject(model, target, {injecting, pointer, messages});
  } catch (const fakes::InjectingPackFiles::Killed&) {
    fakes::RecordingPointer wholePointer;
    fakes::RecordingMessages wholeMessages(&wholePointer);
    mdlFile::PackProject(model, target, {wholeInjecting, wholePointer, wholeMessages});
    const auto after = files.Snapshot();
    const auto wholeAfter = whole.Snapshot();
    for (const auto& [key, held] : after) {
      fuzz::Require(held == Held(before, key) || held == Held(wholeAfter, key),
                    key + " holds neither its earlier bytes nor the whole new ones after a kill");
    }
    for (const auto& [key, held] : before) {
      fuzz::Require(after.count(key) != 0 || wholeAfter.count(key) == 0, key + " vanished in a kill");
    }
    return 0;
  }

  for (const std::string& written : files.Written())
    fuzz::Require(InFolder(written, folder), "wrote " + written + ", outside the target folder");
  // A name given a second, different file lost the first one: the pack must say so.
  bool collided = false;
  std::map<std::string, platform::FileIdentity> copiedTo;
  for (const auto& [to, copied] : files.Copies())
    collided |= std::exchange(copiedTo.try_emplace(to, copied).first->second, copied) != copied;
  // A target that is a file the pack read, by name or as the same file, is refused.
  std::vector<std::string> read = injecting.opened;
  read.insert(read.end(), injecting.copiedFrom.begin(), injecting.copiedFrom.end());
  const auto targetFile = original.Identify(target);
  const bool ontoSource = std::ranges::any_of(read, [&](const std::string& path) {
    return mdlTrim::EqualsIgnoringAsciiCase(path, target) ||
           (targetFile && original.Identify(path) == targetFile);
  });
  const bool anyFailed = injecting.Failures() > 0 || collided || rejected || ontoSource;
  fuzz::Require(saved == !anyFailed, saved ? "\"Project saved.\" although a step failed"
                                           : "\"Error during save.\" although no step failed");
  // The pointer is restored before the one message shows.
  const std::string said =
      saved ? messages.Said("Project saved.", platform::MB_OK | platform::MB_ICONINFORMATION)
            : messages.Said("Error during save.", platform::MB_OK | platform::MB_ICONERROR);
  fuzz::Require(messages.Only() == said, "not the one message " + said + " but " + messages.Only());
  fuzz::Require(files.OpenCount() == 0, "a file was left open");
  auto outsideBefore = before;
  std::erase_if(outsideBefore, [&](const auto& entry) { return InFolder(entry.first, folder); });
  fuzz::Require(Outside(files, folder) == outsideBefore, "a file outside the target folder changed");
  // A file the pack read keeps its bytes, under every name it has, unless a copy of this pack was made
  // onto that name; the project file is whole or not written at all.
  std::set<platform::FileIdentity> readFiles;
  for (const std::string& path : read)
    if (const auto file = original.Identify(path)) readFiles.insert(*file);
  const auto after = files.Snapshot();
  for (const auto& [key, held] : before) {
    const auto file = original.Identify(key);
    if (!file || readFiles.count(*file) == 0 || copiedTo.count(key) != 0) continue;
    fuzz::Require(Held(after, key) == held, "the source " + key + " changed");
  }
  const std::string targetKey = fakes::FakePackFiles::Key(target);
  if (injecting.failedWrites.count(targetKey) != 0) {
    fuzz::Require(Held(after, targetKey) == Held(before, targetKey),
                  "a project file that failed to be written is under its name");
  }
  return 0;
}
