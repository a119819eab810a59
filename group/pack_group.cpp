// PackGroup: everything that would be refused is found first; then, as in a project pack, every step is
// tried and a failed step is absorbed into one error flag for the whole save.
#include "group/pack_group.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "group/member_references.h"
#include "group/read_group.h"
#include "pack/complete_files.h"
#include "platform/errors.h"
#include "project/hourglass.h"
#include "project/line_reader.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"

namespace mdlGroup {

namespace {

const char* const kShared = "Shared";

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

std::string BareName(std::string_view path) {
  return mdlTrim::TextAfterLast(mdlTrim::TextAfterLast(path, '\\'), '/');
}

// Where each member and each source file goes.
struct Layout {
  std::vector<std::string> folders;  // per member: its folder's name, the project file's without extension
  std::vector<std::string> projectFiles;  // per member: the project file's bare name
  std::vector<std::vector<bool>> shared;  // per member and component: copied once into Shared\ .
  std::vector<std::pair<std::size_t, std::size_t>> sharedFirst;  // the first use of each shared file
};

Layout Plan(const GroupModel& group, const std::vector<mdlFile::ProjectModel>& members) {
  Layout layout;
  std::unordered_map<std::string, std::vector<std::size_t>> users;  // file key -> members naming it
  for (std::size_t i = 0; i < members.size(); ++i) {
    layout.folders.push_back(StemOf(group.members[i].path));
    layout.projectFiles.push_back(BareName(group.members[i].path));
    for (const auto& component : members[i].components) {
      if (component.path.empty()) continue;
      auto& named = users[FileKey(mdlFile::ComponentFilePath(members[i], component.path))];
      if (named.empty() || named.back() != i) named.push_back(i);
    }
  }
  std::unordered_map<std::string, bool> placed;
  for (std::size_t i = 0; i < members.size(); ++i) {
    layout.shared.emplace_back();
    for (std::size_t c = 0; c < members[i].components.size(); ++c) {
      const auto& component = members[i].components[c];
      const std::string key = component.path.empty()
                                  ? std::string()
                                  : FileKey(mdlFile::ComponentFilePath(members[i], component.path));
      const bool shared = !key.empty() && users[key].size() >= 2;
      layout.shared.back().push_back(shared);
      if (shared && placed.try_emplace(key, true).second) layout.sharedFirst.emplace_back(i, c);
    }
  }
  return layout;
}

// The files copied with a component: its own, then its companions that exist, as a project pack copies them.
std::vector<std::pair<std::string, std::string>> ComponentCopies(const mdlFile::ProjectModel& model,
                                                                 const mdlFile::Component& component,
                                                                 platform::PackFiles& files) {
  const std::string from = mdlFile::ComponentFilePath(model, component.path);
  const std::string name = mdlTrim::TextAfterLast(component.path, '\\');
  std::vector<std::pair<std::string, std::string>> copies{{from, name}};
  if (component.path.size() < 4 || name.size() < 4) return copies;
  for (const std::string_view extension : mdlFile::CompanionExtensions(component.kind)) {
    const std::string companion = from.substr(0, from.size() - 4) + std::string(extension);
    if (files.Exists(companion))
      copies.emplace_back(companion, name.substr(0, name.size() - 4) + std::string(extension));
  }
  return copies;
}

class RefusalFinder {
 public:
  RefusalFinder(const GroupModel& group, const std::vector<mdlFile::ProjectModel>& members,
                const std::string& target, platform::PackFiles& files, bool complete)
      : group_(group),
        members_(members),
        target_(target),
        files_(files),
        complete_(complete),
        layout_(Plan(group, members)) {}

  std::vector<Refusal> Run() {
    for (const auto& problem : group_.problems)
      Refuse(group_.filePath, problem.line, problem.code, problem.text);
    const std::string targetKey = FileKey(target_);
    const std::string targetFolder = FileKey(mdlTrim::TextBeforeLast(target_, '\\'));
    if (targetKey == FileKey(group_.filePath)) {
      Refuse(group_.filePath, 0, "target-is-source",
             "the target is the source group file itself: pack into another folder");
    }
    std::unordered_map<std::string, std::size_t> folders;
    for (std::size_t i = 0; i < members_.size(); ++i) {
      const GroupMember& member = group_.members[i];
      const std::string key = FileKey(MemberFilePath(group_, member));
      if (key == targetKey) {
        Refuse(group_.filePath, member.line, "target-is-member",
               "the target group file is the member " + Quoted(member.path) +
                   ", which the pack would overwrite");
      } else if (KeyIsUnder(key, targetFolder)) {
        Refuse(group_.filePath, member.line, "member-in-target",
               Quoted(member.path) +
                   " lies in the target folder, where the pack would write over its files: "
                   "pack into a folder that holds none of the group's projects");
      }
      const std::string folder = mdlTrim::LowerAscii(layout_.folders[i]);
      const auto [first, added] = folders.try_emplace(folder, i);
      if (!added) {
        Refuse(group_.filePath, member.line, "duplicate-project-file",
               Quoted(member.path) + " and " + Quoted(group_.members[first->second].path) +
                   " have one project file name and would be packed into one folder: rename one");
      }
      if (folder == mdlTrim::LowerAscii(kShared) && !layout_.sharedFirst.empty()) {
        Refuse(group_.filePath, member.line, "duplicate-project-file",
               Quoted(member.path) +
                   " would be packed into Shared\\, which holds the files several members share: "
                   "rename the project file");
      }
      if (added) Destinations(i);  // a second member in one folder is refused already
    }
    return std::move(refusals_);
  }

 private:
  void Refuse(const std::string& file, int64_t line, std::string code, std::string text) {
    refusals_.push_back({file, line, std::move(code), std::move(text)});
  }

  // Every file the pack writes into the member's folder or Shared\, by name: two different sources under
  // one name would lose one of them.
  void Destinations(std::size_t i) {
    const auto& model = members_[i];
    const std::string own = layout_.folders[i];
    Place(own, layout_.projectFiles[i], MemberFilePath(group_, group_.members[i]), group_.filePath,
          group_.members[i].line);
    for (std::size_t c = 0; c < model.components.size(); ++c) {
      const auto& component = model.components[c];
      if (component.path.empty()) continue;  // the project pack reports it as a failed step
      const std::string& folder = layout_.shared[i][c] ? std::string(kShared) : own;
      for (const auto& [from, name] : ComponentCopies(model, component, files_))
        Place(folder, name, from, model.filePath, component.line);
    }
    if (!complete_) return;
    const auto complete = mdlFile::FindCompleteFiles(model, files_);
    for (const auto& [from, name] : complete.copies) Place(own, name, from, model.filePath, 0);
  }

  void Place(const std::string& folder, const std::string& name, const std::string& from,
             const std::string& file, int64_t line) {
    // A name that would leave the folder is refused by the project pack as a failed step.
    if (!mdlFile::IsPlainFileName(name)) return;
    const std::string where = folder + "\\" + name;
    const auto [first, added] = placed_.try_emplace(mdlTrim::LowerAscii(where), from);
    if (added || FileKey(first->second) == FileKey(from)) return;
    Refuse(file, line, "same-file-name",
           Quoted(Shown(from)) + " and " + Quoted(Shown(first->second)) + " would both be packed to " +
               Quoted(where) + ", and one would be lost: rename one of them");
  }

  // A source path as the group file's folder sees it, as the group names its members.
  std::string Shown(const std::string& full) const {
    const std::string folder = mdlTrim::TextBeforeLast(group_.filePath, '\\') + "\\";
    return full.compare(0, folder.size(), folder) == 0 ? full.substr(folder.size()) : full;
  }

  const GroupModel& group_;
  const std::vector<mdlFile::ProjectModel>& members_;
  const std::string& target_;
  platform::PackFiles& files_;
  const bool complete_;
  const Layout layout_;
  std::map<std::string, std::string> placed_;  // lower-cased "folder\name" -> the source packed there
  std::vector<Refusal> refusals_;
};

class NoMessages : public platform::MessageBox {
 public:
  void Show(const std::string&, int32_t, const std::string&) override {}
};

// The members' packs run under the group's hourglass: theirs must not put the pointer back in between.
class BusyOnly : public platform::MousePointer {
 public:
  explicit BusyOnly(platform::MousePointer& pointer) : pointer_(pointer) {}
  void Set(int32_t) override {}
  void StillBusy() override { pointer_.StillBusy(); }

 private:
  platform::MousePointer& pointer_;
};

class GroupPacker {
 public:
  GroupPacker(const GroupModel& group, const std::vector<mdlFile::ProjectModel>& members,
              const std::string& target, const GroupPackContext& context)
      : group_(group),
        members_(members),
        target_(target),
        context_(context),
        layout_(Plan(group, members)),
        targetFolder_(mdlTrim::TextBeforeLast(target, '\\') + "\\"),
        busy_(context.pointer) {}

  bool Run() {
    for (const auto& folder : layout_.folders) MakeFolder(targetFolder_ + folder);
    if (!layout_.sharedFirst.empty()) MakeFolder(targetFolder_ + kShared);
    for (const auto& [i, c] : layout_.sharedFirst) {
      for (const auto& [from, name] : ComponentCopies(members_[i], members_[i].components[c], context_.files))
        Copy(from, targetFolder_ + kShared + "\\" + name);
      context_.pointer.StillBusy();
    }
    std::vector<const mdlFile::ProjectModel*> models;
    for (const auto& member : members_) models.push_back(&member);
    const MemberReferences references = ResolveReferences(group_, models);
    for (std::size_t i = 0; i < members_.size(); ++i) PackMember(i, references.targets[i]);
    WriteGroupFile();
    return !failed_;
  }

 private:
  void Fail(const std::string& attempted, const std::string& file, const std::string& reason) {
    failed_ = true;
    if (context_.onFailure) context_.onFailure(mdlFile::PackFailure{attempted, file, reason});
  }

  void MakeFolder(const std::string& path) {
    try {
      context_.folders.MakeFolder(path);
    } catch (const platform::FileError& error) {
      Fail("make the folder " + path, error.Path(), error.what());
    }
  }

  void Copy(const std::string& from, const std::string& to) {
    try {
      context_.files.CopyReplacing(from, to);
    } catch (const platform::FileError& error) {
      Fail("copy " + from + " to " + to, error.Path(), error.what());
    }
  }

  std::string NewPath(std::size_t i) const { return layout_.folders[i] + "\\" + layout_.projectFiles[i]; }

  void PackMember(std::size_t i, const std::vector<long>& targets) {
    const mdlFile::ProjectModel& model = members_[i];
    mdlFile::PackContext member{context_.files, busy_, quiet_, context_.onFailure};
    member.copyThreads = context_.copyThreads;
    for (std::size_t c = 0; c < model.components.size(); ++c) {
      member.placedPaths.push_back(layout_.shared[i][c]
                                       ? std::string("..\\") + kShared + "\\" +
                                             mdlTrim::TextAfterLast(model.components[c].path, '\\')
                                       : std::string());
    }
    const auto references = ProjectReferences(model);
    for (std::size_t k = 0; k < references.size() && k < targets.size(); ++k) {
      if (targets[k] < 0) continue;  // a project outside the group keeps its line
      const auto& line =
          *std::find_if(model.lines.begin(), model.lines.end(),
                        [&](const mdlFile::ProjectLine& l) { return l.number == references[k].line; });
      member.newValues[line.number] =
          line.value.substr(0, 3) + "..\\" + NewPath(static_cast<std::size_t>(targets[k]));
    }
    if (context_.complete) {
      auto complete = mdlFile::FindCompleteFiles(model, context_.files);
      member.extraCopies = std::move(complete.copies);
      member.newValues.merge(complete.newValues);
    }
    if (!mdlFile::PackProject(model, targetFolder_ + NewPath(i), member)) failed_ = true;
  }

  // The source group file's lines in their order and form, each member line naming the member's new place.
  void WriteGroupFile() {
    std::map<int64_t, std::size_t> memberLines;
    for (std::size_t i = 0; i < group_.members.size(); ++i) memberLines[group_.members[i].line] = i;
    std::unique_ptr<platform::InputFile> source;
    std::unique_ptr<platform::OutputFile> output;
    try {
      source = context_.files.OpenInput(group_.filePath);
    } catch (const platform::FileError& error) {
      return Fail("open " + group_.filePath + " for reading", error.Path(), error.what());
    }
    try {
      output = context_.files.CreateOutput(target_);
    } catch (const platform::FileError& error) {
      return Fail("create " + target_, error.Path(), error.what());
    }
    try {
      mdlFile::LineReader lines(*source);
      std::string line;
      for (int64_t number = 1; lines.Next(line); ++number) {
        const auto member = memberLines.find(number);
        if (member != memberLines.end()) line = line.substr(0, line.find('=') + 1) + NewPath(member->second);
        output->Write(line + "\r\n");
      }
      output->Close();
    } catch (const platform::FileError& error) {
      Fail("write " + target_, error.Path(), error.what());
    }
  }

  const GroupModel& group_;
  const std::vector<mdlFile::ProjectModel>& members_;
  const std::string& target_;
  const GroupPackContext& context_;
  const Layout layout_;
  const std::string targetFolder_;
  BusyOnly busy_;
  NoMessages quiet_;
  bool failed_ = false;
};

}  // namespace

std::vector<Refusal> GroupPackRefusals(const GroupModel& group,
                                       const std::vector<mdlFile::ProjectModel>& members,
                                       const std::string& target, platform::PackFiles& files, bool complete) {
  return RefusalFinder(group, members, target, files, complete).Run();
}

bool PackGroup(const GroupModel& group, const std::vector<mdlFile::ProjectModel>& members,
               const std::string& target, const GroupPackContext& context,
               const std::function<void(const Refusal&)>& onRefusal) {
  mdlFile::Hourglass hourglass(context.pointer);
  const auto refusals = GroupPackRefusals(group, members, target, context.files, context.complete);
  for (const auto& refusal : refusals) onRefusal(refusal);
  const bool saved = refusals.empty() && GroupPacker(group, members, target, context).Run();
  hourglass.Restore();
  if (saved) {
    context.messages.Show("Project saved.", platform::MB_OK | platform::MB_ICONINFORMATION,
                          mdlFile::kAppTitle);
  } else {
    context.messages.Show("Error during save.", platform::MB_OK | platform::MB_ICONERROR, mdlFile::kAppTitle);
  }
  return saved;
}

}  // namespace mdlGroup
