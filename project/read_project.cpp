#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/errors.h"
#include "project/component_kinds.h"
#include "project/hourglass.h"
#include "project/line_reader.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"
#include "project/name_scan.h"

namespace mdlFile {

namespace {

int32_t TypeFromValue(const std::string& lowered) {
  if (lowered == "exe") return typeStandardExe;
  if (lowered == "oleexe") return typeActiveXExe;
  if (lowered == "oledll") return typeActiveXDll;
  if (lowered == "control") return typeActiveXControl;
  return typeNone;
}

void HandleProjectLine(ProjectModel& model, platform::TextFiles& files, const std::string& line,
                       int64_t number) {
  const auto eq = line.find('=');
  if (eq == std::string::npos) return;
  model.lines.push_back(
      {number, mdlTrim::LowerAscii(std::string_view(line).substr(0, eq)), line.substr(eq + 1)});
  const std::string& key = model.lines.back().key;
  const std::string& value = model.lines.back().value;
  if (key == "type") {
    const int32_t type = TypeFromValue(mdlTrim::LowerAscii(value));
    if (type != typeNone) model.type = type;
    return;
  }
  if (key == "name") {
    model.name = mdlTrim::RemoveAll(value, '"');
    return;
  }
  if (const ComponentKindInfo* info = KindOfKey(key)) AddComponent(model, files, value, info->kind, number);
}

// Reads the whole project file; throws FileError at the first failure that fails the read, number then
// being the line it stopped at (0 before the first).
void ReadInto(ProjectModel& model, platform::TextFiles& files, const std::string& path, int64_t& number) {
  const auto file = files.OpenInput(path);
  LineReader lines(*file);
  std::string line;
  for (number = 1; lines.Next(line); ++number) HandleProjectLine(model, files, line, number);
}

}  // namespace

ProjectModel& Model() {
  static ProjectModel model;
  return model;
}

std::string ComponentFilePath(const ProjectModel& model, const std::string& path) {
  return mdlTrim::TextBeforeLast(model.filePath, '\\', model.leadBytes) + "\\" + path;
}

bool ReadProject(const std::string& path, const ReaderContext& context) {
  Hourglass hourglass(context.pointer);
  ProjectModel& model = Model();
  model = ProjectModel{};
  model.filePath = path;
  model.leadBytes = context.files.LeadBytes();
  bool failed = false;
  int64_t number = 0;
  try {
    ReadInto(model, context.files, path, number);
  } catch (const platform::FileError& error) {
    // The read stops at its first failure; every file it held is closed on the way out.
    failed = true;
    if (context.onFailure) context.onFailure({error.Path(), error.Path() == path ? 0 : number, error.what()});
  }
  hourglass.Restore();
  if (failed) {
    context.saveAs.SetEnabled(false);
    context.messages.Show("Error.", platform::MB_OK | platform::MB_ICONERROR, kAppTitle);
    return false;
  }
  BuildProjectTree(model, context.tree);
  context.saveAs.SetEnabled(true);
  return true;
}

void AddComponent(ProjectModel& model, platform::TextFiles& files, const std::string& value, int32_t kind,
                  int64_t line) {
  model.components.emplace_back();
  model.components.back().line = line;
  // The count grows with the list before the component's file is read, so that a failing read
  // still leaves the two in step.
  model.count = static_cast<int32_t>(model.components.size());
  Component& component = model.components.back();
  const ComponentKindInfo* info = FindKind(kind);
  if (info == nullptr) return;
  if (info->namedInLine) {
    const auto semicolon = value.find(';');
    if (semicolon == std::string::npos) return;
    component.name = std::string(mdlTrim::TrimBlanks(std::string_view(value).substr(0, semicolon)));
    component.path = std::string(mdlTrim::TrimBlanks(std::string_view(value).substr(semicolon + 1)));
    component.kind = kind;
    return;
  }
  // Both forms share one key; only the form's own file tells them apart.
  if (kind == kindForm || kind == kindMdiForm) {
    FormFacts facts = ReadFormFacts(model, files, value);
    component.name = std::move(facts.name);
    component.path = value;
    component.kind = facts.kind;
    return;
  }
  component.name = ReadComponentName(model, files, value);
  component.path = value;
  component.kind = kind;
}

namespace {

// The bytes read through it are kept, up to a limit, so that a second scan can start over without
// opening the file again.
class KeepingInput : public platform::InputFile {
 public:
  KeepingInput(platform::InputFile& file, std::size_t limit) : file_(file), limit_(limit) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = file_.Read(buffer, size);
    if (complete_ && kept_.size() + n <= limit_) {
      kept_.append(buffer, n);
    } else {
      complete_ = false;
      kept_.clear();
    }
    return n;
  }
  // Whether everything read so far is kept.
  bool Complete() const { return complete_; }
  std::string_view Kept() const { return kept_; }

 private:
  platform::InputFile& file_;
  const std::size_t limit_;
  std::string kept_;
  bool complete_ = true;
};

// The kept bytes first, then the rest of the file where the first scan left it.
class ReplayedInput : public platform::InputFile {
 public:
  ReplayedInput(std::string_view kept, platform::InputFile& rest) : kept_(kept), rest_(rest) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    if (kept_.empty()) return rest_.Read(buffer, size);
    const std::size_t n = std::min(size, kept_.size());
    std::memcpy(buffer, kept_.data(), n);
    kept_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view kept_;
  platform::InputFile& rest_;
};

}  // namespace

FormFacts ReadFormFacts(const ProjectModel& model, platform::TextFiles& files, const std::string& path) {
  const auto file = files.OpenInput(ComponentFilePath(model, path));
  // A form's kind is told within its first lines; a form whose first megabyte does not tell it is
  // read a second time from the start rather than held whole.
  constexpr std::size_t kKeep = std::size_t{1} << 20;
  KeepingInput keeping(*file, kKeep);
  FormFacts facts;
  facts.kind = ScanFormKind(keeping);
  if (keeping.Complete()) {
    ReplayedInput replayed(keeping.Kept(), *file);
    facts.name = ScanComponentName(replayed);
  } else {
    facts.name = ReadComponentName(model, files, path);
  }
  return facts;
}

int32_t ReadFormKind(const ProjectModel& model, platform::TextFiles& files, const std::string& path) {
  const auto file = files.OpenInput(ComponentFilePath(model, path));
  return ScanFormKind(*file);
}

int32_t ScanFormKind(platform::InputFile& file) {
  LineReader lines(file);
  // "begin", a blank and a class name of at most ten letters fit well within this many bytes, so a
  // longer line never needs to be held whole: past it the second word is too long to match.
  constexpr std::size_t kEnough = 64;
  std::string line;
  const auto keep = [&line](std::string_view piece) {
    if (line.size() < kEnough) line.append(piece.substr(0, kEnough - line.size()));
  };
  for (line.clear(); lines.NextInPieces(keep); line.clear()) {
    const auto blank = line.find(' ');
    if (blank == std::string::npos) continue;
    // The first word is everything before the first blank, so only a "begin" in the first column counts.
    if (mdlTrim::LowerAscii(std::string_view(line).substr(0, blank)) != "begin") continue;
    const std::string_view rest = std::string_view(line).substr(blank + 1);
    const std::string second = mdlTrim::LowerAscii(mdlTrim::TrimBlanks(rest.substr(0, rest.find(' '))));
    if (second == "vb.form") return kindForm;
    if (second == "vb.mdiform") return kindMdiForm;
  }
  return kindUndetermined;
}

std::string ReadComponentName(const ProjectModel& model, platform::TextFiles& files,
                              const std::string& path) {
  const auto file = files.OpenInput(ComponentFilePath(model, path));
  return ScanComponentName(*file);
}

}  // namespace mdlFile
