// PackProject: one error flag for the whole save; every step is tried, and a failed step is absorbed.
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "pack/copy_runner.h"
#include "pack/mdl_file_pack.h"
#include "platform/errors.h"
#include "project/hourglass.h"
#include "project/line_reader.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"

namespace mdlFile {

namespace {

const char* const kNotInFolder = "The file name does not name a file in the target folder.";
const char* const kSameName = "Another file was packed under the same name; this copy replaced it.";
// What Windows says of the source project file, which the pack holds open; every file the pack reads is
// kept from being written over in the same way.
const char* const kInUse = "The process cannot access the file because it is being used by another process.";

class Packer {
 public:
  Packer(const ProjectModel& model, const std::string& target, const PackContext& context)
      : model_(model),
        target_(target),
        context_(context),
        lead_(model.leadBytes),
        sourceFolder_(mdlTrim::TextBeforeLast(model.filePath, '\\', lead_) + "\\"),
        targetFolder_(mdlTrim::TextBeforeLast(target, '\\', lead_) + "\\") {}

  // Returns whether every step succeeded.
  bool Run() {
    Open();
    StartCopies();
    for (std::size_t k = 0; k < model_.components.size(); ++k) {
      if (k < context_.placedPaths.size() && !context_.placedPaths[k].empty()) {
        PlacedComponent(model_.components[k], context_.placedPaths[k]);
      } else {
        PackComponent(model_.components[k], companions_[k]);
      }
      context_.pointer.StillBusy();
    }
    for (const auto& [from, name] : context_.extraCopies) Copy(from, name);
    copies_.reset();  // every copy has ended and been told
    CarryOver();
    Close();
    return !failed_;
  }

 private:
  void Fail(const std::string& attempted, const std::string& file, const std::string& reason) {
    failed_ = true;
    if (context_.onFailure) context_.onFailure(PackFailure{attempted, file, reason});
  }

  void Open() {
    // The source stays open until the end, so that nothing of the pack can write it.
    try {
      source_ = context_.files.OpenInput(model_.filePath);
    } catch (const platform::FileError& error) {
      Fail("open " + model_.filePath + " for reading", error.Path(), error.what());
    }
    FindCompanions();
    // A target that is a file the pack reads would lose it: it is refused as the open source is.
    if (const auto source = SourceAtTarget()) return Fail("create " + target_, *source, kInUse);
    try {
      output_ = context_.files.CreateOutput(target_);
    } catch (const platform::FileError& error) {
      Fail("create " + target_, error.Path(), error.what());
    }
  }

  // The companions of every component that exist, with the names they are copied under.
  void FindCompanions() {
    companions_.resize(model_.components.size());
    for (std::size_t k = 0; k < model_.components.size(); ++k) {
      const Component& component = model_.components[k];
      if (std::string line; !ComponentLine(component, line, lead_)) continue;
      const std::string fileName = mdlTrim::TextAfterLast(component.path, '\\', lead_);
      // A name too short to lose its extension names no companion, like a missing file.
      const std::size_t pathStem = mdlTrim::StemLength(component.path, 4, lead_);
      const std::size_t nameStem = mdlTrim::StemLength(fileName, 4, lead_);
      if (pathStem == std::string::npos || nameStem == std::string::npos) continue;
      for (const std::string_view extension : CompanionExtensions(component.kind)) {
        const std::string from = sourceFolder_ + component.path.substr(0, pathStem) + std::string(extension);
        if (!context_.files.Exists(from)) continue;  // forms without an .frx are normal
        companions_[k].push_back({from, fileName.substr(0, nameStem) + std::string(extension)});
      }
    }
  }

  // The file the pack reads that the target is, by name or as the same file under another name or
  // through a link; nothing when it is none of them.
  std::optional<std::string> SourceAtTarget() {
    std::vector<std::string> sources{model_.filePath};
    for (const Component& component : model_.components) sources.push_back(sourceFolder_ + component.path);
    for (const auto& companions : companions_) {
      for (const auto& companion : companions) sources.push_back(companion.from);
    }
    for (const auto& extra : context_.extraCopies) sources.push_back(extra.first);
    for (const std::string& source : sources) {
      if (mdlTrim::EqualsIgnoringCase(source, target_, lead_)) return source;
    }
    const auto target = context_.files.Identify(target_);
    if (!target) return std::nullopt;
    for (const std::string& source : sources) {
      if (context_.files.Identify(source) == target) return source;
    }
    return std::nullopt;
  }

  struct Companion {
    std::string from;  // the source path
    std::string name;  // the name in the target folder
  };

  // Plans every copy the steps below make, in their order, and starts them: side by side where nothing
  // one copy writes can be read by another, one at a time otherwise. The steps still take each copy's
  // result in their order, so every failure is told where it was told before.
  void StartCopies() {
    std::vector<CopyRunner::Copy> plan;
    std::vector<std::string> keys;
    const auto add = [&](const std::string& from, const std::string& name) {
      plan.push_back({from, targetFolder_ + name, IsPlainFileName(name, lead_)});
      keys.push_back(mdlTrim::LowerText(name, lead_));
    };
    for (std::size_t k = 0; k < model_.components.size(); ++k) {
      if (k < context_.placedPaths.size() && !context_.placedPaths[k].empty()) continue;
      const Component& component = model_.components[k];
      add(sourceFolder_ + component.path, mdlTrim::TextAfterLast(component.path, '\\', lead_));
      if (std::string line; !ComponentLine(component, line, lead_)) continue;
      for (const Companion& companion : companions_[k]) add(companion.from, companion.name);
    }
    for (const auto& [from, name] : context_.extraCopies) add(from, name);
    unsigned threads = CopyThreads(context_.copyThreads, context_.files, plan.size());
    if (threads > 0 && CopiesMeet(plan)) threads = 0;
    copies_ = std::make_unique<CopyRunner>(context_.files, std::move(plan), keys, threads);
  }

  // Whether a copy may read what another writes, so that their order matters beyond the names they
  // write (which the runner keeps in order): a source in the target folder, reached by any path; a
  // source that is a file under a name the pack writes; a source that reaches no file, which may be a
  // link that an earlier copy makes good. Unknown counts as meeting.
  bool CopiesMeet(const std::vector<CopyRunner::Copy>& plan) {
    const auto target = context_.files.Identify(mdlTrim::TextBeforeLast(target_, '\\', lead_));
    if (!target) return true;
    std::set<std::string> folders;
    for (const auto& copy : plan)
      folders.insert(mdlTrim::LowerText(mdlTrim::TextBeforeLast(copy.from, '\\', lead_), lead_));
    for (const auto& copy : plan) {
      const std::string folder = mdlTrim::TextBeforeLast(copy.from, '\\', lead_);
      if (folders.erase(mdlTrim::LowerText(folder, lead_)) == 0) continue;  // looked at already
      if (context_.files.Identify(folder) == target) return true;
    }
    std::set<platform::FileIdentity> written;
    for (const auto& copy : plan) {
      if (const auto existing = context_.files.Identify(copy.to)) written.insert(*existing);
    }
    for (const auto& copy : plan) {
      const auto source = context_.files.Identify(copy.from);
      if (!source || written.count(*source) != 0) return true;
    }
    return false;
  }

  void PackComponent(const Component& component, const std::vector<Companion>& companions) {
    Copy(sourceFolder_ + component.path, mdlTrim::TextAfterLast(component.path, '\\', lead_));
    std::string line;
    if (!ComponentLine(component, line, lead_)) return;
    WriteLine(line);
    // Companions are tried whatever failed before: a flag that is already set stays set.
    for (const Companion& companion : companions) Copy(companion.from, companion.name);
  }

  // A component whose files are copied elsewhere: only its line is written, naming it where it went.
  void PlacedComponent(const Component& component, const std::string& path) {
    std::string line;
    if (!ComponentLine(component, line, lead_)) return;
    WriteLine(line.substr(0, line.size() - mdlTrim::TextAfterLast(component.path, '\\', lead_).size()) +
              path);
  }

  void Copy(const std::string& from, const std::string& name) {
    const std::string to = targetFolder_ + name;
    const std::string attempted = "copy " + from + " to " + to;
    // A project file must not be able to make a pack write outside its folder.
    if (!IsPlainFileName(name, lead_)) {
      ++nextCopy_;  // planned, never made
      return Fail(attempted, to, kNotInFolder);
    }
    platform::FileIdentity copied;
    try {
      copied = copies_->Result(nextCopy_++);
    } catch (const platform::FileError& error) {
      return Fail(attempted, error.Path(), error.what());
    }
    // Two different files under one name: the later replaced the earlier, whose content is gone.
    const auto [earlier, first] = copiedTo_.try_emplace(mdlTrim::LowerText(name, lead_), copied);
    if (!first && earlier->second != copied) {
      earlier->second = copied;
      Fail(attempted, to, kSameName);
    }
  }

  void WriteLine(const std::string& text) {
    if (!output_) {
      failed_ = true;  // the creation's failure has been told; every line of it fails with it
      return;
    }
    try {
      output_->Write(text + "\r\n");
    } catch (const platform::FileError& error) {
      writeFailed_ = true;
      Fail("write a line to " + target_, error.Path(), error.what());
    }
  }

  void CarryOver() {
    if (!source_) return;
    LineReader lines(*source_);
    std::string line;
    try {
      for (int64_t number = 1; lines.Next(line); ++number) {
        if (IsComponentLine(line)) continue;
        const auto value = context_.newValues.find(number);
        const auto eq = line.find('=');
        WriteLine(value == context_.newValues.end() || eq == std::string::npos
                      ? line
                      : line.substr(0, eq + 1) + value->second);
      }
    } catch (const platform::FileError& error) {
      Fail("read a line of " + model_.filePath, error.Path(), error.what());
    }
  }

  void Close() {
    source_.reset();
    if (!output_) return;
    // A project file missing a line is never put under the name: dropped, it leaves the earlier file.
    if (writeFailed_) return output_.reset();
    try {
      output_->Close();
    } catch (const platform::FileError& error) {
      Fail("close " + target_, error.Path(), error.what());
    }
    output_.reset();
  }

  const ProjectModel& model_;
  const std::string& target_;
  const PackContext& context_;
  const std::bitset<256> lead_;
  const std::string sourceFolder_;
  const std::string targetFolder_;
  bool failed_ = false;
  bool writeFailed_ = false;
  std::vector<std::vector<Companion>> companions_;  // by component
  std::unique_ptr<platform::InputFile> source_;
  std::unique_ptr<platform::OutputFile> output_;
  std::unique_ptr<CopyRunner> copies_;
  std::size_t nextCopy_ = 0;                                // the planned copy the next Copy takes
  std::map<std::string, platform::FileIdentity> copiedTo_;  // lower-cased name -> the file copied there
};

}  // namespace

bool PackProject(const ProjectModel& model, const std::string& target, const PackContext& context) {
  Hourglass hourglass(context.pointer);
  const bool saved = Packer(model, target, context).Run();
  hourglass.Restore();
  if (saved) {
    context.messages.Show("Project saved.", platform::MB_OK | platform::MB_ICONINFORMATION, kAppTitle);
  } else {
    context.messages.Show("Error during save.", platform::MB_OK | platform::MB_ICONERROR, kAppTitle);
  }
  return saved;
}

}  // namespace mdlFile
