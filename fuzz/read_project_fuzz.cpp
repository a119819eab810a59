// ReadProject over files made of the input. The input is split at each 0x01 byte: the first part is
// the project file, each further part the next component file the reader opens (a component file for
// which no part is left is missing). A part that starts with 0x02 cannot be opened; one that starts
// with 0x03 and a byte n fails to read after n bytes. The check then reads the same files again.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "check/check_project.h"
#include "fuzz/fuzz_check.h"
#include "cli/memory_tree_view.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"
#include "tests/fakes/fake_folder_names.h"
#include "tests/fakes/memory_text_files.h"
#include "tests/fakes/recording_ui.h"

namespace {

constexpr char kSplit = '\x01';
constexpr char kUnopenable = '\x02';
constexpr char kFailingRead = '\x03';
const std::string kProjectPath = "Z:\\work\\App.vbp";

struct Part {
  std::string content;
  bool unopenable = false;
  bool failingRead = false;
  std::size_t readableBytes = 0;
};

Part MakePart(std::string_view raw) {
  Part part;
  if (!raw.empty() && raw[0] == kUnopenable) {
    part.unopenable = true;
    raw.remove_prefix(1);
  } else if (raw.size() >= 2 && raw[0] == kFailingRead) {
    part.readableBytes = static_cast<unsigned char>(raw[1]);
    raw.remove_prefix(2);
    // A read fails once the reader has had that many bytes and wants more, so only short of the end.
    part.failingRead = part.readableBytes <= raw.size();
  }
  part.content = std::string(raw);
  return part;
}

// Hands out the parts in the order the reader first opens each file. Paths name files as Windows does:
// case ignored, "." and ".." resolved.
class PartFiles : public fakes::MemoryTextFiles {
 public:
  PartFiles(std::vector<Part> parts, std::size_t chunk) : parts_(std::move(parts)) { SetChunk(chunk); }

  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override {
    if (assigned_.try_emplace(fakes::FakePackFiles::Key(path), path).second && next_ < parts_.size()) {
      const Part& part = parts_[next_++];
      Put(path, part.content);
      if (part.unopenable) FailOpen(path);
      if (part.failingRead) FailReadAfter(path, part.readableBytes);
      sound_ += !part.unopenable && !part.failingRead;
    }
    return MemoryTextFiles::OpenInput(path);
  }
  // Whether every file opened so far could be opened and read whole.
  bool AllSound() const { return sound_ == assigned_.size(); }
  const std::map<std::string, std::string>& Assigned() const { return assigned_; }  // by Key, as first named

 private:
  std::vector<Part> parts_;
  std::size_t next_ = 0;
  std::map<std::string, std::string> assigned_;
  std::size_t sound_ = 0;
};

// What an independent reading of the project file expects: the component lines and the name. Lines
// end at CR, CR LF or LF.
struct Expected {
  int32_t components = 0;
  std::string name;
};

Expected ReadIndependently(std::string_view project) {
  static const std::set<std::string> kComponentKeys{"form", "module", "class", "usercontrol", "propertypage",
                                                    "userdocument", "designer"};
  Expected expected;
  for (std::size_t start = 0; start < project.size();) {
    const std::size_t end = std::min(project.find_first_of("\r\n", start), project.size());
    const std::string_view line = project.substr(start, end - start);
    start = end + (project.substr(end, 2) == "\r\n" ? 2 : 1);
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    std::string key(line.substr(0, eq));
    for (char& c : key) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    expected.components += kComponentKeys.count(key);
    if (key == "name") {
      expected.name = line.substr(eq + 1);
      std::erase(expected.name, '"');
    }
  }
  return expected;
}

void CheckTree(const cli::MemoryTreeView& tree, const mdlFile::ProjectModel& model) {
  std::set<std::string> keys;
  std::vector<bool> shown(model.components.size(), false);
  for (int32_t position = 1; position <= tree.Count(); ++position) {
    const std::string key = tree.Key(position);
    fuzz::Require(keys.insert(key).second, "tree key " + key + " given twice");
    fuzz::Require(!key.empty(), "a tree node without a key");
    if (key[0] != 'f') continue;
    const int32_t number = mdlTrim::KeyNumber(key);
    fuzz::Require(key == "f" + std::to_string(number), "component key " + key + " is not f and a number as written");
    fuzz::Require(number >= 0 && number < model.count, "component key " + key + " names no component");
    shown[number] = true;
  }
  fuzz::Require(keys.count("p0") == 1, "no root node");
  for (std::size_t i = 0; i < shown.size(); ++i)
    fuzz::Require(shown[i], "component " + std::to_string(i) + " is not in the tree");
}

// The check over the same files: the read goes on past components it cannot read, the findings are
// in order and where they say, and the project file's line ends are reported exactly when they are bad.
void CheckProjectAgain(PartFiles& files, bool treeRead, const std::string& project, bool projectSound) {
  const mdlFile::ProjectModel tree = mdlFile::Model();
  fakes::FakeFolderNames folders;
  for (const auto& [key, path] : files.Assigned()) folders.AddFile(path);
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages(&pointer);
  cli::MemoryTreeView view;
  fakes::RecordingCommand saveAs;
  check::ObservedFiles observed(files, kProjectPath);
  if (!mdlFile::ReadProject(kProjectPath, {observed, pointer, messages, view, saveAs})) {
    fuzz::Require(!treeRead && !projectSound, "the check's read failed where the project file reads whole");
    return;
  }
  const auto findings = check::CheckProject({mdlFile::Model(), observed, files, folders});
  fuzz::Require(files.OpenCount() == 0, "the check left a file open");
  if (treeRead) fuzz::Require(mdlFile::Model().count == tree.count, "the check read another number of components");
  auto sorted = findings;
  check::SortFindings(sorted, mdlFile::Model());
  bool projectLineEnds = false;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    fuzz::Require(findings[i].file == sorted[i].file && findings[i].line == sorted[i].line, "findings out of order");
    fuzz::Require(findings[i].line >= 1 && !findings[i].text.empty(), "a finding without a line or a text");
    projectLineEnds |= findings[i].file == kProjectPath && findings[i].code == "line-ends";
  }
  std::size_t bad = 0;
  for (std::size_t i = 0; i < project.size(); ++i) {
    if (project[i] == '\n' && (i == 0 || project[i - 1] != '\r')) ++bad;
    if (project[i] == '\r' && (i + 1 == project.size() || project[i + 1] != '\n')) ++bad;
  }
  if (projectSound) fuzz::Require(projectLineEnds == (bad != 0), "the project file's line ends misreported");
  const std::string fixed = check::WithCrLf(project);
  check::TextScan scan;
  scan.Feed(fixed);
  scan.Finish();
  fuzz::Require(scan.lfOnly() == 0 && scan.crOnly() == 0, "a line end other than CR LF after the rewrite");
  const auto text = [](std::string t) {
    std::erase_if(t, [](char c) { return c == '\r' || c == '\n'; });
    return t;
  };
  fuzz::Require(text(fixed) == text(project), "the rewrite changed more than line ends");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<Part> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = input.find(kSplit, start);
    parts.push_back(MakePart(input.substr(start, end == std::string_view::npos ? end : end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  const std::string project = parts.front().content;
  const bool projectSound = !parts.front().unopenable && !parts.front().failingRead;
  // Small reads put line ends and name lines across the reads' boundaries.
  const std::size_t chunk = size % 3 == 0 ? 1 + size % 61 : std::size_t{1} << 20;
  PartFiles files(std::move(parts), chunk);

  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages(&pointer);
  cli::MemoryTreeView tree;
  fakes::RecordingCommand saveAs;
  const mdlFile::ReaderContext context{files, pointer, messages, tree, saveAs};
  const bool read = mdlFile::ReadProject(kProjectPath, context);

  const mdlFile::ProjectModel& model = mdlFile::Model();
  fuzz::Require(model.count == static_cast<int32_t>(model.components.size()), "count differs from the list");
  fuzz::Require(model.filePath == kProjectPath, "the model's file path is not the one read");
  fuzz::Require(files.OpenCount() == 0, "a file was left open");
  fuzz::Require(pointer.current == platform::vbDefault && !pointer.history.empty() &&
                    pointer.history.front() == platform::vbHourglass,
                "the pointer was not the hourglass during the read and the default after it");
  fuzz::Require(saveAs.enabled == read, "Save As is not enabled exactly after a successful read");
  if (read) {
    fuzz::Require(messages.shown.empty(), "a message after a successful read");
    fuzz::Require(files.AllSound(), "a read succeeded although a file it opened could not be read");
    const Expected expected = ReadIndependently(project);
    fuzz::Require(model.count == expected.components, "the component count differs from the component lines");
    fuzz::Require(model.name == expected.name, "the project name differs from the last Name line");
    CheckTree(tree, model);
  } else {
    fuzz::Require(messages.Only() == fakes::RecordingMessages::Said("Error.", platform::MB_OK | platform::MB_ICONERROR),
                  "the failure is not the one \"Error.\" box with the stop icon: " + messages.Only());
    fuzz::Require(!files.AllSound(), "a read failed although every file it opened could be read");
    fuzz::Require(tree.Count() == 0, "a failed read changed the tree");
  }
  CheckProjectAgain(files, read, project, projectSound);
  return 0;
}
