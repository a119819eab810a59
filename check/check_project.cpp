#include "check/check_project.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "base/code_page_text.h"
#include "base/folded_names.h"
#include "base/windows_path.h"
#include "check/dependency_findings.h"
#include "platform/errors.h"
#include "project/component_kinds.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"

namespace check {

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// The names of a path; a "\\" that is the second byte of a two-byte character separates nothing.
std::vector<std::string_view> Names(std::string_view path, const base::LeadBytes& lead) {
  std::vector<std::string_view> names;
  std::size_t i = 0;
  while (i <= path.size()) {
    std::size_t end = i;
    while (end < path.size() && !IsSeparator(path[end])) end += base::StartsPair(path, end, lead) ? 2 : 1;
    if (end > i) names.push_back(path.substr(i, end - i));
    i = end + 1;
  }
  return names;
}

bool IsAbsolute(std::string_view path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && IsSeparator(path[0]));
}

// Absolute, on another drive, or climbing above the folder with "..".
bool OutsideFolder(std::string_view path, const base::LeadBytes& lead) {
  if (IsAbsolute(path)) return true;
  int depth = 0;
  for (const auto name : Names(path, lead)) {
    if (name == "..") {
      if (--depth < 0) return true;
    } else if (name != ".") {
      ++depth;
    }
  }
  return false;
}

std::string FolderOf(std::string_view path, const base::LeadBytes& lead) {
  return std::string(base::SplitWindowsPath(path, lead).folder);
}

// No second byte of a two-byte character is below 0x40, so every "/" is a separator of its own.
std::string LowerPath(std::string_view path, const base::LeadBytes& lead) {
  std::string lower = base::LowerText(path, lead);
  std::replace(lower.begin(), lower.end(), '/', '\\');
  return lower;
}

// One spelling for each file a full path can name: lower case, "." and ".." resolved.
std::string FileKey(std::string_view full, const base::LeadBytes& lead) {
  std::vector<std::string_view> kept;
  for (const auto name : Names(full, lead)) {
    if (name == "..") {
      if (kept.size() > 1) kept.pop_back();
    } else if (name != ".") {
      kept.push_back(name);
    }
  }
  std::string key;
  for (const auto name : kept) key += (key.empty() ? "" : "\\") + base::LowerText(name, lead);
  return key;
}

// The kind a component's line names by its key: a form's line names a form even when its file tells
// nothing. The reader keeps every line in order, so the component's line is found by its number.
const mdlFile::ComponentKindInfo* LineKind(const mdlFile::ProjectModel& model,
                                           const mdlFile::Component& component) {
  const auto found =
      std::lower_bound(model.lines.begin(), model.lines.end(), component.line,
                       [](const mdlFile::ProjectLine& line, int64_t number) { return line.number < number; });
  return found == model.lines.end() || found->number != component.line ? nullptr
                                                                       : mdlFile::KindOfKey(found->key);
}

using base::TextHash;
template <typename Value>
using TextMap = base::TextMap<Value>;

// Folder listings, each read once.
class Listings {
 public:
  Listings(platform::FolderNames& folders, const base::LeadBytes& lead) : folders_(folders), lead_(lead) {}

  enum class Match { Exact, Folded, Missing, Unknown };
  // How name is found in folder; for Folded, disk gets the name on disk.
  Match Find(const std::string& folder, std::string_view name, std::string& disk) {
    // Folders are asked for again and again, mostly spelled as before: those spellings are kept too.
    auto spelled = bySpelling_.find(folder);
    if (spelled == bySpelling_.end()) {
      const std::string key = LowerPath(folder, lead_);
      auto found = byFolder_.find(key);
      if (found == byFolder_.end()) found = byFolder_.emplace(key, Read(folder)).first;
      spelled = bySpelling_.emplace(folder, &found->second).first;
    }
    const std::optional<Listing>& read = *spelled->second;
    if (!read) return Match::Unknown;
    const Listing& listing = *read;
    if (listing.exact.contains(name)) return Match::Exact;
    const std::string* folded = listing.folded.Find(name);
    if (folded == nullptr) return Match::Missing;
    disk = *folded;
    return Match::Folded;
  }

 private:
  struct Listing {
    std::unordered_set<std::string, TextHash, std::equal_to<>> exact;
    base::FoldedNames folded;
  };

  std::optional<Listing> Read(const std::string& folder) {
    auto names = folders_.NamesIn(folder);
    if (!names) return std::nullopt;
    Listing listing{{}, base::FoldedNames(lead_)};
    listing.exact.reserve(names->size());
    listing.folded.reserve(names->size());
    for (auto& name : *names) {
      listing.folded.Add(name, name);
      listing.exact.insert(std::move(name));
    }
    return listing;
  }

  platform::FolderNames& folders_;
  base::LeadBytes lead_;
  // Node-based, so the pointers in bySpelling_ stay valid as folders are added.
  TextMap<std::optional<Listing>> byFolder_;
  TextMap<const std::optional<Listing>*> bySpelling_;
};

// How a path, relative to a folder or absolute, is spelled on disk.
struct Walked {
  bool missing = false;       // some name matches nothing
  std::string written, disk;  // the first name that matches only without regard to case
};

// Walks paths name by name through the folder listings. Components mostly share a few folders, so
// where each path's folder part leads is remembered, and only its last name is looked up anew.
class Walker {
 public:
  Walker(platform::FolderNames& folders, const std::string& projectFile, const base::LeadBytes& lead)
      : listings_(folders, lead), projectFile_(projectFile), lead_(lead) {}

  Walked Walk(const std::string& from, std::string_view path) {
    // The folder part ends after the last separator, or after a drive when there is none.
    const std::size_t leaf = base::SplitWindowsPath(path, lead_).name.size();
    const bool drive = path.size() >= 2 && path[1] == ':';
    const std::size_t head = leaf < path.size() ? path.size() - leaf : drive ? 2 : 0;
    key_.assign(from);
    key_ += '\n';
    key_.append(path.substr(0, head));
    auto known = heads_.find(key_);
    if (known == heads_.end()) known = heads_.emplace(key_, Start(from, path.substr(0, head))).first;
    Position position = known->second;
    for (const auto name : Names(path.substr(head), lead_)) Step(position, name);
    return std::move(position.walked);
  }

 private:
  struct Position {
    std::string folder;
    Walked walked;
    bool done = false;  // a name matched nothing, or a folder could not be listed
  };

  Position Start(const std::string& from, std::string_view path) {
    Position position{from, {}, false};
    if (path.size() >= 2 && path[1] == ':') {
      position.folder = std::string(path.substr(0, 2));
      path.remove_prefix(2);
    } else if (!path.empty() && IsSeparator(path[0])) {
      position.folder = projectFile_.size() >= 2 && projectFile_[1] == ':' ? projectFile_.substr(0, 2) : "";
    }
    for (const auto name : Names(path, lead_)) Step(position, name);
    return position;
  }

  void Step(Position& position, std::string_view name) {
    if (position.done || name == ".") return;
    std::string& folder = position.folder;
    if (name == "..") {
      if (const auto cut = base::FindLastCharacter(folder, '\\', lead_); cut != std::string::npos)
        folder.erase(cut);
      return;
    }
    std::string disk;
    switch (listings_.Find(folder.empty() ? "\\" : folder, name, disk)) {
      case Listings::Match::Exact:
        folder += '\\';
        folder += name;
        break;
      case Listings::Match::Folded:
        if (position.walked.written.empty()) {
          position.walked.written = std::string(name);
          position.walked.disk = disk;
        }
        folder += '\\';
        folder += disk;
        break;
      case Listings::Match::Missing:
        position.walked.missing = true;
        position.done = true;
        break;
      case Listings::Match::Unknown:
        position.done = true;
        break;
    }
  }

  Listings listings_;
  const std::string& projectFile_;
  base::LeadBytes lead_;
  TextMap<Position> heads_;  // by the folder walked from and the path's folder part
  std::string key_;
};

// A name of any length is shown at a length one can read: its start and its end.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 120;
  if (text.size() <= 2 * kShown + 3) return "'" + std::string(text) + "'";
  return "'" + std::string(text.substr(0, kShown)) + "..." + std::string(text.substr(text.size() - kShown)) +
         "'";
}

// A system's reason as a sentence of its own, whether or not it ends in a full stop.
std::string Sentence(std::string reason) {
  while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
  return reason + ". ";
}

std::string LineEndsText(const TextScan& scan) {
  const int64_t bad = scan.lfOnly() + scan.crOnly();
  const char* kind = "mixed";
  if (scan.crLf() == 0 && scan.crOnly() == 0) kind = "LF only";
  if (scan.crLf() == 0 && scan.lfOnly() == 0) kind = "CR only";
  return "line ends are " + std::string(kind) + ": " + std::to_string(bad) +
         (bad == 1 ? " line does" : " lines do") +
         " not end in CR LF, as the development environment expects; run 'tarvex-cli check --fix-line-ends' "
         "to rewrite them";
}

class Checker {
 public:
  explicit Checker(const CheckInput& input)
      : input_(input),
        lead_(input.model.leadBytes),
        walker_(input.folders, input.model.filePath, lead_),
        folder_(mdlTrim::TextBeforeLast(input.model.filePath, '\\', lead_)) {}

  std::vector<Finding> Run() {
    const auto& model = input_.model;
    if (const TextScan* scan = input_.observed.WholeScan(model.filePath)) LineEnds(model.filePath, *scan);
    std::unordered_map<std::string, std::size_t> names;
    std::unordered_map<std::string, std::size_t> fileNames;
    std::unordered_set<std::string> files;
    for (std::size_t i = 0; i < model.components.size(); ++i) {
      const auto& component = model.components[i];
      if (!component.name.empty()) {
        const auto [first, added] = names.try_emplace(base::LowerText(component.name, lead_), i);
        if (!added) {
          Add(model.filePath, component.line, Severity::Error, "duplicate-name",
              "component name " + Quoted(component.name) + " is also given at line " +
                  std::to_string(model.components[first->second].line) +
                  "; the development environment refuses to load two components of one name: rename one");
        }
      }
      if (component.path.empty()) continue;
      const std::string file = mdlFile::ComponentFilePath(model, component.path);
      const std::string fileName = mdlTrim::TextAfterLast(component.path, '\\', lead_);
      const auto [first, added] = fileNames.try_emplace(base::LowerText(fileName, lead_), i);
      if (!added) {
        const auto& other = model.components[first->second];
        if (FileKey(mdlFile::ComponentFilePath(model, other.path), lead_) != FileKey(file, lead_)) {
          Add(model.filePath, component.line, Severity::Error, "same-file-name",
              Quoted(component.path) + " and " + Quoted(other.path) + " (line " +
                  std::to_string(model.components[first->second].line) + ") have the same file name " +
                  Quoted(fileName) + ", so a pack would write both to one file: rename one of them");
        }
      }
      if (OutsideFolder(component.path, lead_)) {
        Add(model.filePath, component.line, Severity::Warning, "outside-folder",
            Quoted(component.path) +
                " is outside the project's folder, which makes the project hard to move; 'tarvex-cli pack' "
                "copies every component beside a new project file");
      }
      const Walked walked = walker_.Walk(folder_, component.path);
      if (!walked.written.empty()) CaseMismatch(model.filePath, component.line, component.path, walked);
      // A file named twice is looked into once.
      if (files.insert(FileKey(file, lead_)).second) ComponentFile(file, component);
    }
    return std::move(findings_);
  }

 private:
  void Add(const std::string& file, int64_t line, Severity severity, const char* code, std::string text) {
    findings_.push_back({file, line, severity, code, std::move(text)});
  }

  void CaseMismatch(const std::string& file, int64_t line, std::string_view path, const Walked& walked) {
    const std::string which = walked.written == path ? std::string() : "in " + Quoted(path) + ", ";
    Add(file, line, Severity::Warning, "case-mismatch",
        which + Quoted(walked.written) + " matches " + Quoted(walked.disk) +
            " on disk only without regard to case, which works on Windows but not in a case-sensitive "
            "checkout; write " +
            Quoted(walked.disk));
  }

  void LineEnds(const std::string& file, const TextScan& scan) {
    if (scan.firstBadLine() != 0)
      Add(file, scan.firstBadLine(), Severity::Error, "line-ends", LineEndsText(scan));
  }

  void ComponentFile(const std::string& file, const mdlFile::Component& component) {
    const std::string& path = component.path;
    const TextScan* scan = input_.observed.WholeScan(file);
    std::string reason;
    TextScan own(BestVectors(), lead_);
    if (const std::string* failure = input_.observed.Failure(file)) {
      reason = *failure;
    } else if (scan == nullptr) {
      // The reader does not open every file (a module's name is in the project file): read it here.
      try {
        const auto input = input_.files.OpenInput(file);
        while (const std::size_t got = input->Read(buffer_.get(), kBuffer))
          own.Feed(std::string_view(buffer_.get(), got));
        own.Finish();
        scan = &own;
      } catch (const platform::FileError& error) {
        reason = error.what();
      }
    }
    if (scan == nullptr) {
      Add(input_.model.filePath, component.line, Severity::Error, "unreadable",
          "cannot read " + Quoted(path) + ": " + Sentence(reason) +
              "Correct the path in the project file or restore the file");
      return;
    }
    LineEnds(file, *scan);
    const mdlFile::ComponentKindInfo* kind = LineKind(input_.model, component);
    const bool known = kind != nullptr && !kind->companions.empty();
    for (const auto& reference : scan->references()) {
      const Walked walked = walker_.Walk(FolderOf(file, lead_), reference.name);
      if (walked.missing) {
        Add(file, reference.line, Severity::Error, "missing-companion",
            Quoted(reference.name) + " is named here but missing, and the " +
                (known ? "component's" : "file's") +
                " pictures and binary properties cannot load without it; restore it beside " +
                Quoted(mdlTrim::TextAfterLast(path, '\\', lead_)));
      } else if (!walked.written.empty()) {
        CaseMismatch(file, reference.line, reference.name, walked);
      }
    }
  }

  static constexpr std::size_t kBuffer = 64 * 1024;
  // One buffer for every file read here; never cleared, since each read fills what it hands over.
  std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(kBuffer);
  const CheckInput& input_;
  base::LeadBytes lead_;
  Walker walker_;
  std::string folder_;
  std::vector<Finding> findings_;
};

std::string Refused(const std::string& what) {
  return "line ends not rewritten: " + what;
}

}  // namespace

std::string_view SeverityName(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    case Severity::Note:
      return "note";
  }
  return "error";
}

std::vector<Finding> CheckProject(const CheckInput& input) {
  std::vector<Finding> findings = Checker(input).Run();
  AddDependencyFindings(input, findings);
  SortFindings(findings, input.model);
  return findings;
}

std::string WithCrLf(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

namespace {

// Whether the file under the path is no longer the file as it was read.
bool Changed(platform::PackFiles& files, const std::string& path, const platform::FileState& read) {
  try {
    return files.StateOf(path) != read;
  } catch (const platform::FileError&) {
    return true;
  }
}

}  // namespace

std::vector<Finding> FixLineEnds(const std::vector<Finding>& findings, const mdlFile::ProjectModel& model,
                                 platform::TextFiles& files, platform::PackFiles& output) {
  const std::string folder = mdlTrim::TextBeforeLast(model.filePath, '\\', model.leadBytes) + "\\";
  std::vector<Finding> done;
  for (const auto& finding : findings) {
    if (finding.code != "line-ends") continue;
    const auto refuse = [&](const std::string& why) {
      done.push_back({finding.file, finding.line, Severity::Error, "fix-refused", Refused(why)});
    };
    const bool inside =
        finding.file == model.filePath ||
        (finding.file.compare(0, folder.size(), folder) == 0 &&
         !OutsideFolder(std::string_view(finding.file).substr(folder.size()), model.leadBytes));
    if (!inside) {
      refuse("the file is outside the project's folder; move it in with 'tarvex-cli pack' first");
      continue;
    }
    // What the file was when it was read: it is replaced only if it is still that file, unchanged.
    platform::FileState read;
    std::string bytes;
    try {
      read = output.StateOf(finding.file);
      const auto input = files.OpenInput(finding.file);
      std::string buffer(64 * 1024, '\0');
      while (const std::size_t got = input->Read(buffer.data(), buffer.size()))
        bytes.append(buffer.data(), got);
    } catch (const platform::FileError& error) {
      refuse("the file could not be read whole: " + Sentence(error.what()) + "It was left as it is");
      continue;
    }
    if (read.links > 1) {
      refuse("the file has " + std::to_string(read.links) +
             " names (hard links), and a rewritten file would have only this one. It was left as it is");
      continue;
    }
    TextScan scan;
    scan.Feed(bytes);
    scan.Finish();
    const int64_t changed = scan.lfOnly() + scan.crOnly();
    if (changed == 0) continue;
    try {
      output.ReplaceWhole(finding.file, WithCrLf(bytes), &read);
    } catch (const platform::FileError& error) {
      if (Changed(output, finding.file, read)) {
        refuse("the file was changed by another program after it was read. It was left as it is; run again");
      } else {
        refuse("the file cannot be written: " + Sentence(error.what()) +
               "It was left as it is; make it writable and run again");
      }
      continue;
    }
    done.push_back(
        {finding.file, finding.line, Severity::Note, "line-ends-fixed",
         "rewrote " + std::to_string(changed) + (changed == 1 ? " line end" : " line ends") + " to CR LF"});
  }
  return done;
}

void SortFindings(std::vector<Finding>& findings, const mdlFile::ProjectModel& model) {
  // The order of the files costs a look at every component: not worth it for what is already in order.
  if (findings.size() < 2) return;
  std::unordered_map<std::string, std::size_t> order{{model.filePath, 0}};
  for (const auto& component : model.components) {
    if (!component.path.empty()) {
      order.try_emplace(mdlFile::ComponentFilePath(model, component.path), order.size());
    }
  }
  const auto rank = [&order](const Finding& finding) {
    const auto found = order.find(finding.file);
    return found == order.end() ? order.size() : found->second;
  };
  std::stable_sort(findings.begin(), findings.end(), [&rank](const Finding& a, const Finding& b) {
    const auto ra = rank(a);
    const auto rb = rank(b);
    if (ra != rb) return ra < rb;
    if (a.file != b.file) return a.file < b.file;
    return a.line < b.line;
  });
}

bool Fails(const std::vector<Finding>& findings, bool strict) {
  return std::any_of(findings.begin(), findings.end(), [strict](const Finding& finding) {
    return finding.severity == Severity::Error || (strict && finding.severity == Severity::Warning);
  });
}

}  // namespace check
