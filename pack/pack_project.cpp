// PackProject: one error flag for the whole save; every step is tried, and a failed step is absorbed.
#include <map>
#include <memory>

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

class Packer {
 public:
  Packer(const ProjectModel& model, const std::string& target, const PackContext& context)
      : model_(model),
        target_(target),
        context_(context),
        sourceFolder_(mdlTrim::TextBeforeLast(model.filePath, '\\') + "\\"),
        targetFolder_(mdlTrim::TextBeforeLast(target, '\\') + "\\") {}

  // Returns whether every step succeeded.
  bool Run() {
    Open();
    for (std::size_t i = 0; i < model_.components.size(); ++i) {
      if (i < context_.placedPaths.size() && !context_.placedPaths[i].empty()) {
        PlacedComponent(model_.components[i], context_.placedPaths[i]);
      } else {
        PackComponent(model_.components[i]);
      }
      context_.pointer.StillBusy();
    }
    for (const auto& [from, name] : context_.extraCopies) Copy(from, name);
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
    try {
      output_ = context_.files.CreateOutput(target_);
    } catch (const platform::FileError& error) {
      Fail("create " + target_, error.Path(), error.what());
    }
  }

  void PackComponent(const Component& component) {
    const std::string fileName = mdlTrim::TextAfterLast(component.path, '\\');
    Copy(sourceFolder_ + component.path, fileName);
    std::string line;
    if (!ComponentLine(component, line)) return;
    WriteLine(line);
    // Companions are tried whatever failed before: a flag that is already set stays set.
    for (const std::string_view extension : CompanionExtensions(component.kind)) {
      // A name too short to lose its extension names no companion, like a missing file.
      if (component.path.size() < 4 || fileName.size() < 4) continue;
      const std::string from =
          sourceFolder_ + component.path.substr(0, component.path.size() - 4) + std::string(extension);
      if (!context_.files.Exists(from)) continue;  // forms without an .frx are normal
      Copy(from, fileName.substr(0, fileName.size() - 4) + std::string(extension));
    }
  }

  // A component whose files are copied elsewhere: only its line is written, naming it where it went.
  void PlacedComponent(const Component& component, const std::string& path) {
    std::string line;
    if (!ComponentLine(component, line)) return;
    WriteLine(line.substr(0, line.size() - mdlTrim::TextAfterLast(component.path, '\\').size()) + path);
  }

  void Copy(const std::string& from, const std::string& name) {
    const std::string to = targetFolder_ + name;
    const std::string attempted = "copy " + from + " to " + to;
    // A project file must not be able to make a pack write outside its folder.
    if (!IsPlainFileName(name)) return Fail(attempted, to, kNotInFolder);
    platform::FileIdentity copied;
    try {
      copied = context_.files.CopyReplacing(from, to);
    } catch (const platform::FileError& error) {
      return Fail(attempted, error.Path(), error.what());
    }
    // Two different files under one name: the later replaced the earlier, whose content is gone.
    const auto [earlier, first] = copiedTo_.try_emplace(mdlTrim::LowerAscii(name), copied);
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
  const std::string sourceFolder_;
  const std::string targetFolder_;
  bool failed_ = false;
  std::unique_ptr<platform::InputFile> source_;
  std::unique_ptr<platform::OutputFile> output_;
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
