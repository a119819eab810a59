// PackProject over the fault-injecting fake file system: an arbitrary model and source project file,
// source and target folders with ordinary, read-only, special and hard-linked files, and arbitrary
// steps made to fail. Exactly one message; "Project saved." exactly when no counted step failed;
// nothing written outside the target folder; the source files never changed.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "pack/mdl_file_pack.h"
#include "tests/fakes/fake_pack_files.h"
#include "tests/fakes/recording_ui.h"

namespace {

const std::string kTargetFolder = "D:\\out";

// Whether a path (as the fake resolves it) is a file directly in the target folder.
bool InTargetFolder(const std::string& key) {
  const std::string folder = fakes::FakePackFiles::Key(kTargetFolder) + "\\";
  return key.starts_with(folder) && key.find('\\', folder.size()) == std::string::npos;
}

// Whether the last name of a component's path can only be a file directly in the target folder: not
// empty once trailing dots and blanks go, no separator, drive or control character in it.
bool StaysInFolder(const std::string& path) {
  const std::string name = path.substr(path.rfind('\\') + 1);  // npos + 1 is 0
  return name.find_last_not_of(". ") != std::string::npos &&
         std::none_of(name.begin(), name.end(), [](char c) { return c == '/' || c == ':' || (c >= 0 && c < 32); });
}

const std::vector<std::string> kSourceFiles{
    "C:\\src\\Main.frm", "C:\\src\\Main.frx", "C:\\src\\Tools.bas", "C:\\src\\sub\\TOOLS.BAS",
    "C:\\lib\\Util.bas", "C:\\src\\Util.bas", "C:\\src\\Des.dsr",   "C:\\src\\Des.dsx",
    "C:\\src\\Des.dsa",  "C:\\src\\Ctl.ctl",  "C:\\src\\Ctl.ctx",   "C:\\src\\Page.pag",
    "C:\\src\\Page.pgx", "C:\\src\\Doc.dob",  "C:\\src\\Item.cls",  "C:\\src\\x"};
const std::vector<std::string> kTargetFiles{"D:\\out\\Main.frm", "D:\\out\\Util.bas", "D:\\out\\App.vbp",
                                            "D:\\out\\Old.vbp", "D:\\out\\sub\\Kept.bas"};
const std::vector<std::string> kPathPieces{
    "Main.frm", "sub\\TOOLS.BAS", "..\\lib\\Util.bas", "Util.bas", "Tools.bas", "tools.BAS", "Des.dsr", "Ctl.ctl",
    "Page.pag", "Doc.dob", "Item.cls", "App.vbp", "..\\src\\App.vbp", "Missing.frm", "Fifo.bas", "Linked.bas",
    "a/b.bas", "C:\\x.bas", "x:y.bas", "..", ".", "", " ", "sub\\", "x", "..\\..\\D:\\out\\App.vbp",
    "sub\\..\\..\\src\\Main.frm"};

std::string Pick(FuzzedDataProvider& input, const std::vector<std::string>& from) {
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
  for (const std::string& path : kSourceFiles) {
    if (input.ConsumeBool()) files.Put(path, input.ConsumeRandomLengthString(16));
  }
  files.Put("C:\\src\\Tools.bas", "tools");
  files.Link("C:\\src\\Tools.bas", "C:\\src\\Linked.bas");
  files.PutSpecial("C:\\src\\Fifo.bas");
  for (const std::string& path : kTargetFiles) {
    if (input.ConsumeBool()) files.Put(path, "old");
    if (input.ConsumeBool() && files.Content(path)) files.SetReadOnly(path);
  }
  if (input.ConsumeBool()) files.PutSpecial("D:\\out\\Util.bas");
  if (input.ConsumeBool()) files.Link("C:\\src\\Tools.bas", "D:\\out\\Tools.bas");

  mdlFile::ProjectModel model;
  model.filePath = "C:\\src\\App.vbp";
  for (int count = input.ConsumeIntegralInRange(0, 12); count > 0; --count) {
    // A braced list is evaluated in order: kind, name, then path.
    model.components.push_back({input.ConsumeIntegralInRange(-1, 9), input.ConsumeRandomLengthString(8),
                                input.ConsumeBool() ? Pick(input, kPathPieces) : input.ConsumeRandomLengthString(24)});
  }
  model.count = static_cast<int32_t>(model.components.size());
  const mdlFile::ProjectModel before = model;

  std::vector<std::string> anyPath = kSourceFiles;
  anyPath.insert(anyPath.end(), kTargetFiles.begin(), kTargetFiles.end());
  anyPath.insert(anyPath.end(), {"C:\\src\\App.vbp", "D:\\out\\Main.frx", "D:\\out\\Tools.bas",
                                 "D:\\out\\Des.dsx", "D:\\out\\Des.dsa", "D:\\out\\Item.cls"});
  for (int faults = input.ConsumeIntegralInRange(0, 6); faults > 0; --faults) {
    const std::string step = Pick(input, {"open", "read", "create", "write", "close", "copy", "replace"});
    const std::string path = input.ConsumeBool() ? Pick(input, anyPath) : "";
    injecting.faults.push_back({step, path, input.ConsumeIntegralInRange<std::size_t>(0, 64)});
  }
  // Not D:\out\Tools.bas: saving over a file that is a hard link of a source file writes that file, as
  // the user asked; copies onto it replace the name instead.
  const std::string target =
      Pick(input, {"D:\\out\\App.vbp", "D:\\out\\Main.frm", "D:\\out\\Old.vbp", "D:\\out\\Util.bas"});

  const auto outsideBefore = Outside(files);
  const auto rejected = std::count_if(model.components.begin(), model.components.end(),
                                      [](const auto& c) { return !StaysInFolder(c.path); });

  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages(&pointer);
  const mdlFile::PackContext context{injecting, pointer, messages};
  const bool saved = mdlFile::PackProject(model, target, context);

  for (const std::string& written : files.Written())
    fuzz::Require(InTargetFolder(written), "wrote " + written + ", outside the target folder");
  // A name given a second, different file lost the first one: the pack must say so.
  int collisions = 0;
  std::map<std::string, platform::FileIdentity> copiedTo;
  for (const auto& [to, copied] : files.Copies()) {
    const auto [earlier, first] = copiedTo.try_emplace(to, copied);
    if (!first && earlier->second != copied) ++collisions;
    earlier->second = copied;
  }
  const bool anyFailed = injecting.Failures() > 0 || collisions > 0 || rejected > 0;
  fuzz::Require(saved == !anyFailed, saved ? "\"Project saved.\" although a step failed"
                                           : "\"Error during save.\" although no step failed");
  // The pointer is restored before the one message shows.
  using platform::MB_OK;
  fuzz::Require(messages.Only() == (saved ? messages.Said("Project saved.", MB_OK | platform::MB_ICONINFORMATION)
                                          : messages.Said("Error during save.", MB_OK | platform::MB_ICONERROR)),
                "not the one message \"Project saved.\" or \"Error during save.\" it should be: " + messages.Only());
  fuzz::Require(files.OpenCount() == 0, "a file was left open");
  fuzz::Require(Outside(files) == outsideBefore, "a file outside the target folder changed");
  const auto same = [](const mdlFile::Component& a, const mdlFile::Component& b) {
    return a.kind == b.kind && a.name == b.name && a.path == b.path;
  };
  fuzz::Require(model.count == before.count && model.filePath == before.filePath &&
                    std::equal(model.components.begin(), model.components.end(), before.components.begin(),
                               before.components.end(), same),
                "the pack changed the model");
  return 0;
}
