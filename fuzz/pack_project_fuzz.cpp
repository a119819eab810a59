// PackProject over the fault-injecting fake file system: an arbitrary model and source project file,
// source and target folders with ordinary, read-only, special and hard-linked files, and arbitrary
// steps made to fail. Exactly one message; "Project saved." exactly when no counted step failed;
// nothing written outside the target folder; the source files never changed.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "pack/mdl_file_pack.h"
#include "platform/errors.h"
#include "tests/fakes/fake_pack_files.h"
#include "tests/fakes/recording_ui.h"

namespace {

using Step = fakes::FakePackFiles::Step;

const std::string kTargetFolder = "D:\\out";

std::string Lower(std::string text) {
  for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return text;
}

std::string AfterLastBackslash(const std::string& path) {
  const auto cut = path.rfind('\\');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A name that can only be a file directly in the target folder.
bool StaysInFolder(const std::string& name) {
  std::string kept = name;
  while (!kept.empty() && (kept.back() == '.' || kept.back() == ' ')) kept.pop_back();
  if (kept.empty()) return false;
  for (const char c : name) {
    if (c == '/' || c == ':' || c == '\\' || static_cast<unsigned char>(c) < 32) return false;
  }
  return true;
}

// Forwards to the fake and watches: every failure it reports, and every file it was able to write.
class WatchedFiles : public platform::PackFiles {
 public:
  explicit WatchedFiles(fakes::FakePackFiles& files) : files_(files) {}

  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override {
    return std::make_unique<Input>(*this, Counted([&] { return files_.OpenInput(path); }));
  }
  std::unique_ptr<platform::OutputFile> CreateOutput(const std::string& path) override {
    auto output = Counted([&] { return files_.CreateOutput(path); });
    Written(path);
    return std::make_unique<Output>(*this, std::move(output));
  }
  platform::FileIdentity CopyReplacing(const std::string& from, const std::string& to) override {
    const platform::FileIdentity copied = Counted([&] { return files_.CopyReplacing(from, to); });
    Written(to);
    // A name given a second, different file lost the first one: the pack must say so.
    const auto [earlier, first] = copiedTo_.try_emplace(Lower(AfterLastBackslash(to)), copied);
    if (!first && earlier->second != copied) collisions_++;
    earlier->second = copied;
    return copied;
  }
  bool Exists(const std::string& path) override { return files_.Exists(path); }
  void ReplaceWhole(const std::string& path, std::string_view bytes) override {
    Counted([&] { files_.ReplaceWhole(path, bytes); });
    Written(path);
  }

  int Failures() const { return failures_; }
  int Collisions() const { return collisions_; }

 private:
  class Input : public platform::InputFile {
   public:
    Input(WatchedFiles& owner, std::unique_ptr<platform::InputFile> file)
        : owner_(owner), file_(std::move(file)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
      return owner_.Counted([&] { return file_->Read(buffer, size); });
    }

   private:
    WatchedFiles& owner_;
    std::unique_ptr<platform::InputFile> file_;
  };
  class Output : public platform::OutputFile {
   public:
    Output(WatchedFiles& owner, std::unique_ptr<platform::OutputFile> file)
        : owner_(owner), file_(std::move(file)) {}
    void Write(std::string_view bytes) override {
      owner_.Counted([&] { file_->Write(bytes); });
    }
    void Close() override {
      owner_.Counted([&] { file_->Close(); });
    }

   private:
    WatchedFiles& owner_;
    std::unique_ptr<platform::OutputFile> file_;
  };

  template <typename F>
  auto Counted(F&& step) -> decltype(step()) {
    try {
      return step();
    } catch (const platform::FileError&) {
      ++failures_;
      throw;
    }
  }
  void Written(const std::string& path) {
    const std::string resolved = fakes::FakePackFiles::Key(path);
    const std::string folder = fakes::FakePackFiles::Key(kTargetFolder) + "\\";
    fuzz::Require(resolved.rfind(folder, 0) == 0 && resolved.find('\\', folder.size()) == std::string::npos,
                  "wrote " + path + ", outside the target folder");
  }

  fakes::FakePackFiles& files_;
  int failures_ = 0;
  int collisions_ = 0;
  std::map<std::string, platform::FileIdentity> copiedTo_;
};

const std::vector<std::string> kSourceFiles{
    "C:\\src\\Main.frm", "C:\\src\\Main.frx", "C:\\src\\Tools.bas", "C:\\src\\sub\\TOOLS.BAS",
    "C:\\lib\\Util.bas", "C:\\src\\Util.bas", "C:\\src\\Des.dsr",   "C:\\src\\Des.dsx",
    "C:\\src\\Des.dsa",  "C:\\src\\Ctl.ctl",  "C:\\src\\Ctl.ctx",   "C:\\src\\Page.pag",
    "C:\\src\\Page.pgx", "C:\\src\\Doc.dob",  "C:\\src\\Item.cls",  "C:\\src\\x"};
const std::vector<std::string> kTargetFiles{"D:\\out\\Main.frm", "D:\\out\\Util.bas", "D:\\out\\App.vbp",
                                            "D:\\out\\Old.vbp", "D:\\out\\sub\\Kept.bas"};
const std::vector<std::string> kPathPieces{"Main.frm",
                                           "sub\\TOOLS.BAS",
                                           "..\\lib\\Util.bas",
                                           "Util.bas",
                                           "Tools.bas",
                                           "tools.BAS",
                                           "Des.dsr",
                                           "Ctl.ctl",
                                           "Page.pag",
                                           "Doc.dob",
                                           "Item.cls",
                                           "App.vbp",
                                           "..\\src\\App.vbp",
                                           "Missing.frm",
                                           "Fifo.bas",
                                           "Linked.bas",
                                           "a/b.bas",
                                           "C:\\x.bas",
                                           "x:y.bas",
                                           "..",
                                           ".",
                                           "",
                                           " ",
                                           "sub\\",
                                           "x",
                                           "..\\..\\D:\\out\\App.vbp",
                                           "sub\\..\\..\\src\\Main.frm"};

std::string Pick(FuzzedDataProvider& input, const std::vector<std::string>& from) {
  return from[input.ConsumeIntegralInRange<std::size_t>(0, from.size() - 1)];
}

// Every file outside the target folder, with its content.
std::map<std::string, std::optional<std::string>> Outside(const fakes::FakePackFiles& files) {
  std::map<std::string, std::optional<std::string>> seen;
  for (const std::string& path : kSourceFiles) seen[path] = files.Content(path);
  for (const std::string& path :
       {"C:\\src\\App.vbp", "C:\\src\\Linked.bas", "C:\\src\\Fifo.bas", "D:\\out\\sub\\Kept.bas"})
    seen[path] = files.Content(path);
  for (const std::string& folder : {"C:", "C:\\src", "C:\\src\\sub", "C:\\lib", "D:", "D:\\out\\sub"}) {
    std::string names;
    for (const std::string& name : files.NamesIn(folder)) names += name + "\n";
    seen["names in " + folder] = names;
  }
  return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  fakes::FakePackFiles files;

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
  const int count = input.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < count; ++i) {
    mdlFile::Component component;
    component.kind = input.ConsumeIntegralInRange(-1, 9);
    component.name = input.ConsumeRandomLengthString(8);
    component.path = input.ConsumeBool() ? Pick(input, kPathPieces) : input.ConsumeRandomLengthString(24);
    model.components.push_back(component);
  }
  model.count = static_cast<int32_t>(model.components.size());
  const mdlFile::ProjectModel before = model;

  std::vector<std::string> anyPath = kSourceFiles;
  anyPath.insert(anyPath.end(), kTargetFiles.begin(), kTargetFiles.end());
  anyPath.insert(anyPath.end(), {"C:\\src\\App.vbp", "D:\\out\\Main.frx", "D:\\out\\Tools.bas",
                                 "D:\\out\\Des.dsx", "D:\\out\\Des.dsa", "D:\\out\\Item.cls"});
  const int faults = input.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < faults; ++i) {
    const auto step = static_cast<Step>(input.ConsumeIntegralInRange(0, 5));
    files.Fail(step, Pick(input, anyPath));
  }
  if (input.ConsumeBool()) files.FailReadAfter("C:\\src\\App.vbp", input.ConsumeIntegralInRange(0, 64));
  if (input.ConsumeBool()) files.FailWrite(input.ConsumeIntegralInRange(0, 20));
  // Not D:\out\Tools.bas: saving over a file that is a hard link of a source file writes that file, as
  // the user asked; copies onto it replace the name instead.
  const std::string target =
      Pick(input, {"D:\\out\\App.vbp", "D:\\out\\Main.frm", "D:\\out\\Old.vbp", "D:\\out\\Util.bas"});

  const auto outsideBefore = Outside(files);
  int rejected = 0;
  for (const auto& component : model.components) {
    if (!StaysInFolder(AfterLastBackslash(component.path))) ++rejected;
  }

  WatchedFiles watched(files);
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages(&pointer);
  const mdlFile::PackContext context{watched, pointer, messages};
  const bool saved = mdlFile::PackProject(model, target, context);

  const bool anyFailed = watched.Failures() > 0 || watched.Collisions() > 0 || rejected > 0;
  fuzz::Require(saved == !anyFailed, saved ? "\"Project saved.\" although a step failed"
                                           : "\"Error during save.\" although no step failed");
  fuzz::Require(messages.shown.size() == 1, "not exactly one message");
  const auto& shown = messages.shown.front();
  if (saved) {
    fuzz::Require(
        shown.text == "Project saved." && shown.style == (platform::MB_OK | platform::MB_ICONINFORMATION),
        "success is not \"Project saved.\" with the information icon");
  } else {
    fuzz::Require(
        shown.text == "Error during save." && shown.style == (platform::MB_OK | platform::MB_ICONERROR),
        "failure is not \"Error during save.\" with the stop icon");
  }
  fuzz::Require(shown.caption == "Tarvex" && shown.pointerWhenShown == platform::vbDefault,
                "the message is not captioned Tarvex after the pointer was restored");
  fuzz::Require(files.OpenCount() == 0, "a file was left open");
  for (const auto& [path, content] : Outside(files)) {
    fuzz::Require(outsideBefore.at(path) == content, path + " changed: it is outside the target folder");
  }
  fuzz::Require(model.count == before.count && model.components.size() == before.components.size() &&
                    model.filePath == before.filePath,
                "the pack changed the model");
  for (std::size_t i = 0; i < model.components.size(); ++i) {
    fuzz::Require(model.components[i].kind == before.components[i].kind &&
                      model.components[i].name == before.components[i].name &&
                      model.components[i].path == before.components[i].path,
                  "the pack changed a component");
  }
  return 0;
}
