// What the group commands share: telling a group file from a project file, reading the group, and reading
// each member as "&Open..." reads a project, a member that fails not ending the others.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/command_session.h"
#include "group/group_model.h"
#include "group/member_references.h"
#include "platform/text_files.h"

namespace cli {

// Whether the argument names a group file (.vbg, in any case).
bool IsGroupArgument(const std::string& argument);

// The group file read, with its full Windows path; or nothing after its errors went to standard error as
// "ARGUMENT:LINE: error: text [code]". With keepProblems the group's problems are left to the caller.
std::optional<mdlGroup::GroupModel> OpenGroup(CommandSession& session, const std::string& argument,
                                              bool keepProblems = false);

// A member read into the model: the model, or why it failed (empty when the system gave no reason).
struct MemberRead {
  std::optional<mdlFile::ProjectModel> model;
  std::string failure;
};

// Reads one member's project file through files into Model() and tree; nothing is shown.
MemberRead ReadMember(CommandSession& session, const std::string& path, platform::TextFiles& files,
                      MemoryTreeView& tree);

// Every member read, in group order; null for one that could not be read, which was reported on standard
// error as "ARGUMENT:LINE: error: cannot read 'PATH': REASON [member-unreadable]".
struct MembersRead {
  std::vector<std::optional<mdlFile::ProjectModel>> models;
  bool failed = false;
  std::vector<const mdlFile::ProjectModel*> Pointers() const;
};
MembersRead ReadMembers(CommandSession& session, const mdlGroup::GroupModel& group,
                        const std::string& argument);

// "from needs to" for each compiled reference of a member that was read to the library another member
// builds, as `order` and `check` count them.
std::vector<mdlGroup::MemberEdge> LibraryEdges(CommandSession& session,
                                               const std::vector<const mdlFile::ProjectModel*>& models);

// Prints "ARGUMENT:LINE: error: text [code]" to standard error, decoded from the code page.
void PrintError(const CommandSession& session, const std::string& shownPath, int64_t line,
                const std::string& code, const std::string& text);

}  // namespace cli
