#include "group/check_group.h"

#include <unordered_map>

#include "group/build_order.h"
#include "group/member_references.h"
#include "group/read_group.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"

namespace mdlGroup {

namespace {

using check::Finding;
using check::Severity;

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

std::string Sentence(std::string reason) {
  while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
  return reason + ". ";
}

class GroupChecker {
 public:
  GroupChecker(const GroupModel& group, const std::vector<CheckedMember>& members,
               const std::vector<MemberEdge>& libraryEdges)
      : group_(group), members_(members), libraryEdges_(libraryEdges) {}

  std::vector<Finding> Run() {
    for (const auto& problem : group_.problems)
      Add(problem.line, Severity::Error, problem.code, problem.text);
    if (group_.problems.empty() || !group_.members.empty()) Startup();
    Members();
    References();
    SharedFiles();
    return std::move(findings_);
  }

 private:
  void Add(int64_t line, Severity severity, const std::string& code, std::string text,
           const std::string* file = nullptr) {
    findings_.push_back({file ? *file : group_.filePath, line, severity, code, std::move(text)});
  }

  const std::string& PathOf(std::size_t i) const { return group_.members[i].path; }

  void Startup() {
    if (group_.startupLines == 0) {
      Add(1, Severity::Warning, "startup-missing",
          "the group names no startup project: make the line of the project to start a 'StartupProject=' "
          "line");
    }
    int seen = 0;
    for (const auto& line : group_.lines) {
      if (line.key != "startupproject" || ++seen == 1) continue;
      Add(line.number, Severity::Warning, "startup-missing",
          Quoted(line.value) +
              " is not the startup project: only the first 'StartupProject=' line counts; make "
              "this one a 'Project=' line");
    }
  }

  void Members() {
    std::unordered_map<std::string, std::size_t> files, names;
    for (std::size_t i = 0; i < group_.members.size(); ++i) {
      const GroupMember& member = group_.members[i];
      const CheckedMember& checked = members_[i];
      if (checked.model == nullptr) {
        Add(member.line, Severity::Error, member.startup ? "startup-missing" : "member-missing",
            std::string(member.startup ? "the startup project " : "") + "cannot read " + Quoted(member.path) +
                ": " + Sentence(checked.failure) +
                "Restore the project or correct the path in the group file");
      }
      const std::string file = mdlTrim::LowerAscii(mdlTrim::TextAfterLast(member.path, '\\'));
      if (const auto [first, added] = files.try_emplace(file, i); !added) {
        Add(member.line, Severity::Error, "duplicate-project-file",
            Quoted(member.path) + " and " + Quoted(PathOf(first->second)) + " (line " +
                std::to_string(group_.members[first->second].line) +
                ") have one project file name, which build tools refuse in one group: rename one");
      }
      if (checked.model == nullptr || checked.model->name.empty()) continue;
      if (const auto [first, added] = names.try_emplace(mdlTrim::LowerAscii(checked.model->name), i);
          !added) {
        Add(member.line, Severity::Error, "duplicate-project-name",
            Quoted(member.path) + " and " + Quoted(PathOf(first->second)) + " are both named " +
                Quoted(checked.model->name) + ", and a group holds one project of a name: rename one");
      }
    }
  }

  void References() {
    std::vector<const mdlFile::ProjectModel*> models;
    for (const auto& member : members_) models.push_back(member.model);
    const MemberReferences references = ResolveReferences(group_, models);
    for (const auto& outside : references.outside) {
      Add(outside.reference.line, Severity::Warning, "project-reference-outside-group",
          Quoted(outside.reference.path) +
              " is a project that is not a member of the group, so it is not built with it and a group pack "
              "leaves it behind: add it to the group",
          &models[outside.member]->filePath);
    }
    auto edges = references.edges;
    edges.insert(edges.end(), libraryEdges_.begin(), libraryEdges_.end());
    const BuildOrder order = OrderMembers(group_.members.size(), edges);
    if (order.cycle.empty()) return;
    Add(group_.members[order.cycle.front()].line, Severity::Error, "reference-cycle",
        CycleText(group_, order.cycle));
  }

  void SharedFiles() {
    std::unordered_map<std::string, std::size_t> owners;
    for (std::size_t i = 0; i < group_.members.size(); ++i) {
      const mdlFile::ProjectModel* model = members_[i].model;
      if (model == nullptr) continue;
      for (const auto& component : model->components) {
        if (component.path.empty()) continue;
        const auto [first, added] =
            owners.try_emplace(FileKey(mdlFile::ComponentFilePath(*model, component.path)), i);
        if (added || first->second == i) continue;
        Add(component.line, Severity::Note, "shared-file",
            Quoted(component.path) + " is also a component of " + Quoted(PathOf(first->second)) +
                "; a change to it changes both, and a group pack copies it once into Shared\\",
            &model->filePath);
      }
    }
  }

  const GroupModel& group_;
  const std::vector<CheckedMember>& members_;
  const std::vector<MemberEdge>& libraryEdges_;
  std::vector<Finding> findings_;
};

}  // namespace

std::vector<check::Finding> CheckGroup(const GroupModel& group, const std::vector<CheckedMember>& members,
                                       const std::vector<MemberEdge>& libraryEdges) {
  return GroupChecker(group, members, libraryEdges).Run();
}

void KeepInsideGroup(const GroupModel& group, const mdlFile::ProjectModel& member,
                     std::vector<check::Finding>& findings) {
  const std::string folder = FileKey(mdlTrim::TextBeforeLast(group.filePath, '\\'));
  std::erase_if(findings, [&](const check::Finding& finding) {
    if (finding.code != "outside-folder" || finding.file != member.filePath) return false;
    for (const auto& component : member.components) {
      if (component.line != finding.line) continue;
      const bool absolute = component.path.size() >= 2 && component.path[1] == ':';
      return !absolute && KeyIsUnder(FileKey(mdlFile::ComponentFilePath(member, component.path)), folder);
    }
    return false;
  });
}

}  // namespace mdlGroup
