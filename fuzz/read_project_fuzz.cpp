// ReadProject over files made of the input. The input is split at each 0x01 byte: the first part is
// the project file, each further part the next component file the reader opens (a component file for
// which no part is left is missing). A part that starts with 0x02 cannot be opened; one that starts
// with 0x03 and a byte n fails to read after n bytes. The check then reads the same files again. The
// input's size also picks the code page's lead bytes: none, or those of 932, 936, 949 or 950.
#include <algorithm>
#include <bitset>
#include <cstdint>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "check/check_project.h"
#include "cli/memory_tree_view.h"
#include "fuzz/fuzz_check.h"
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
  std::string_view content;
  // An open that fails, or a read that fails after some bytes.
  std::optional<fakes::MemoryTextFiles::Fault> fault;
};

Part MakePart(std::string_view raw) {
  if (raw.starts_with(kUnopenable)) return {raw.substr(1), fakes::MemoryTextFiles::Fault{"open", "", 0}};
  if (raw.size() < 2 || raw[0] != kFailingRead) return {raw, std::nullopt};
  const std::size_t readable = static_cast<unsigned char>(raw[1]);
  // A read fails once the reader has had that many bytes and wants more, so only short of the end.
  if (readable > raw.size() - 2) return {raw.substr(2), std::nullopt};
  return {raw.substr(2), fakes::MemoryTextFiles::Fault{"read", "", readable}};
}

// Hands out the parts in the order the reader first opens each file, and lists each file so opened in
// its folder. Paths name files as Windows does: case ignored, "." and ".." resolved.
class PartFiles : public fakes::MemoryTextFiles {
 public:
  PartFiles(std::vector<Part> parts, std::size_t chunk, std::bitset<256> lead)
      : parts_(std::move(parts)), lead_(lead) {
    SetChunk(chunk);
  }
  std::bitset<256> LeadBytes() const override { return lead_; }

  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override {
    if (assigned_.insert(fakes::FakePackFiles::Key(path)).second) {
      folders.AddFile(path);
      const Part* part = next_ < parts_.size() ? &parts_[next_++] : nullptr;  // none: the file is missing
      if (part) Put(path, std::string(part->content));
      if (part && part->fault) faults.push_back({part->fault->step, path, part->fault->after});
    }
    return MemoryTextFiles::OpenInput(path);
  }
  // Whether every file opened so far could be opened and read whole.
  bool AllSound() const { return next_ == assigned_.size() && faults.empty(); }

  fakes::FakeFolderNames folders;

 private:
  std::vector<Part> parts_;
  std::bitset<256> lead_;
  std::size_t next_ = 0;
  std::set<std::string> assigned_;  // by Key
};

// What a successful read leaves: the component lines and the last Name line as an independent reading
// finds them, and the tree. Lines end at CR, CR LF or LF, so with every CR made LF a CR LF leaves an
// empty line between, which has no key.
void CheckRead(std::string project, const mdlFile::ProjectModel& model, const cli::MemoryTreeView& tree) {
  // A component's bare name is the end of its path after a "\" that is a character of its own.
  for (const auto& component : model.components) {
    const std::string& path = component.path;
    const std::string name = mdlTrim::TextAfterLast(path, '\\', model.leadBytes);
    if (name.size() == path.size()) continue;
    const std::size_t cut = path.size() - name.size() - 1;
    std::size_t at = 0;
    while (at < cut) at += mdlTrim::StartsPair(path, at, model.leadBytes) ? 2 : 1;
    fuzz::Require(at == cut && path[cut] == '\\', "a path split inside a two-byte character");
  }
  static const std::set<std::string> kComponentKeys{"form",         "module",       "class",   "usercontrol",
                                                    "propertypage", "userdocument", "designer"};
  std::ranges::replace(project, '\r', '\n');
  std::istringstream lines(project);
  int32_t components = 0;
  std::string name;
  for (std::string line; std::getline(lines, line);) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq);
    for (char& c : key) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    components += kComponentKeys.count(key);
    if (key == "name") {
      name = line.substr(eq + 1);
      std::erase(name, '"');
    }
  }
  fuzz::Require(model.count == components, "the component count differs from the component lines");
  fuzz::Require(model.name == name, "the project name differs from the last Name line");
  // Every component has its node under a key of its number as written, and no key is given twice.
  std::set<std::string> keys, missing{"p0"};
  for (int32_t i = 0; i < model.count; ++i) missing.insert("f" + std::to_string(i));
  for (int32_t position = 1; position <= tree.Count(); ++position) {
    const std::string key = tree.Key(position);
    fuzz::Require(!key.empty() && keys.insert(key).second, "tree key \"" + key + "\" empty or given twice");
    fuzz::Require(missing.erase(key) == 1 || !key.starts_with('f'),
                  "tree key " + key + " names no component");
  }
  fuzz::Require(missing.empty(), "no root node, or a component without its node");
}

// A read through these files, and what it leaves behind: it succeeds exactly when the files it must
// read whole are sound (all it opened; for the check's read, the project file).
bool ReadAndCheck(platform::TextFiles& through, const PartFiles& files, std::optional<bool> sound,
                  std::string_view project) {
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages(&pointer);
  cli::MemoryTreeView tree;
  fakes::RecordingCommand saveAs;
  const bool read = mdlFile::ReadProject(kProjectPath, {through, pointer, messages, tree, saveAs});

  const mdlFile::ProjectModel& model = mdlFile::Model();
  fuzz::Require(model.count == static_cast<int32_t>(model.components.size()), "count differs from the list");
  fuzz::Require(model.filePath == kProjectPath, "the model's file path is not the one read");
  fuzz::Require(files.OpenCount() == 0, "a file was left open");
  fuzz::Require(pointer.history == std::vector{platform::vbHourglass, platform::vbDefault},
                "the pointer was not the hourglass during the read and the default after it");
  fuzz::Require(saveAs.enabled == read, "Save As is not enabled exactly after a successful read");
  fuzz::Require(read == sound.value_or(files.AllSound()),
                read ? "a read succeeded although a file it must read could not be read"
                     : "a read failed although every file it must read could be read");
  if (read) {
    fuzz::Require(messages.shown.empty(), "a message after a successful read");
    CheckRead(std::string(project), model, tree);
  } else {
    fuzz::Require(messages.Only() == messages.Said("Error.", platform::MB_OK | platform::MB_ICONERROR),
                  "the failure is not the one \"Error.\" box with the stop icon: " + messages.Only());
    fuzz::Require(tree.Count() == 0, "a failed read changed the tree");
  }
  return read;
}

// The check over what the read saw: findings in order and where they say, the project file's line
// ends reported exactly when they are bad, and the rewrite to CR LF against one done independently.
void CheckFindings(PartFiles& files, const check::ObservedFiles& observed, std::string_view project) {
  const auto findings = check::CheckProject({mdlFile::Model(), observed, files, files.folders});
  fuzz::Require(files.OpenCount() == 0, "the check left a file open");
  auto sorted = findings;
  check::SortFindings(sorted, mdlFile::Model());
  bool projectLineEnds = false;
  for (std::size_t i = 0; i < findings.size(); ++i) {
    fuzz::Require(findings[i].file == sorted[i].file && findings[i].line == sorted[i].line,
                  "findings out of order");
    fuzz::Require(findings[i].line >= 1 && !findings[i].text.empty(), "a finding without a line or a text");
    projectLineEnds |= findings[i].file == kProjectPath && findings[i].code == "line-ends";
  }
  std::string crlf;
  for (std::size_t i = 0; i < project.size(); ++i) {
    crlf += project[i] == '\r' || project[i] == '\n' ? std::string_view("\r\n") : project.substr(i, 1);
    i += project.substr(i, 2) == "\r\n";
  }
  fuzz::Require(check::WithCrLf(project) == crlf, "the rewrite to CR LF is not every line end made CR LF");
  fuzz::Require(projectLineEnds == (crlf != project), "the project file's line ends misreported");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<Part> parts;
  for (std::size_t start = 0, end = 0; end != std::string_view::npos; start = end + 1) {
    end = input.find(kSplit, start);
    parts.push_back(MakePart(input.substr(start, end - start)));  // the last part runs to the end
  }
  const Part project = parts.front();
  // Small reads put line ends and name lines across the reads' boundaries.
  // 932 leads with 0x81-0x9F and 0xE0-0xFC; 936, 949 and 950 with 0x81-0xFE.
  std::bitset<256> lead;
  const std::size_t codePage = size / 3 % 5;
  for (int b = 0x81; codePage != 0 && b <= 0xFE; ++b)
    lead.set(b, codePage != 1 || b <= 0x9F || (b >= 0xE0 && b <= 0xFC));
  PartFiles files(std::move(parts), size % 3 == 0 ? 1 + size % 61 : std::size_t{1} << 20, lead);
  ReadAndCheck(files, files, std::nullopt, project.content);
  // The check reads on past components it cannot read.
  check::ObservedFiles observed(files, kProjectPath);
  if (ReadAndCheck(observed, files, !project.fault, project.content))
    CheckFindings(files, observed, project.content);
  return 0;
}
