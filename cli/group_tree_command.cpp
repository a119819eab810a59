// tarvex-cli tree GROUP.vbg: each member's tree in group order, a member that cannot be read shown as
// "Error." in its place.
#include <algorithm>
#include <iostream>

#include "cli/commands.h"
#include "cli/group_session.h"
#include "cli/tree_json.h"
#include "group/read_group.h"

namespace cli {

namespace {

std::string Indented(const std::string& text, const std::string& indent) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    out += indent + text.substr(start, end - start + 1);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

}  // namespace

int RunGroupTree(const std::string& argument, bool json) {
  return WithSession([&](CommandSession& session) {
    const auto group = OpenGroup(session, argument);
    if (!group) return 1;
    const platform::CodePage& codePage = session.codePage();
    std::string out;
    if (json) {
      out = "{\"group\": {\"file\": ";
      AppendJsonString(out, codePage.ToUtf8(group->filePath));
      out += ", \"startup\": ";
      const auto startup = std::find_if(group->members.begin(), group->members.end(),
                                        [](const mdlGroup::GroupMember& member) { return member.startup; });
      if (startup == group->members.end()) {
        out += "null";
      } else {
        AppendJsonString(out, codePage.ToUtf8(startup->path));
      }
      out += "}, \"members\": [";
    } else {
      out = argument + "\n";
    }
    bool failed = false;
    for (std::size_t i = 0; i < group->members.size(); ++i) {
      const auto& member = group->members[i];
      MemoryTreeView tree;
      const MemberRead read =
          ReadMember(session, mdlGroup::MemberFilePath(*group, member), session.host().files(), tree);
      if (!read.model) {
        failed = true;
        PrintError(session, argument, member.line, "member-unreadable",
                   "cannot read '" + member.path + "': " + (read.failure.empty() ? "Error." : read.failure));
      }
      if (json) {
        out += i == 0 ? "\n  {\"path\": " : ",\n  {\"path\": ";
        AppendJsonString(out, codePage.ToUtf8(member.path));
        out += ", \"line\": " + std::to_string(member.line) +
               (member.startup ? ", \"startup\": true" : ", \"startup\": false");
        out += ", \"error\": ";
        if (read.model) {
          std::string memberJson = TreeJson(*read.model, tree, codePage);
          if (!memberJson.empty() && memberJson.back() == '\n') memberJson.pop_back();
          out += "null, \"tree\": " + memberJson + "}";
        } else {
          AppendJsonString(out, codePage.ToUtf8(read.failure.empty() ? "Error." : read.failure));
          out += ", \"tree\": null}";
        }
      } else {
        out += "  " + codePage.ToUtf8(member.path) + (member.startup ? "  (startup)\n" : "\n");
        out += read.model ? Indented(TreeText(*read.model, tree, codePage), "    ") : "    Error.\n";
      }
    }
    if (json) out += group->members.empty() ? "]}\n" : "\n]}\n";
    std::cout << out;
    return failed ? 1 : 0;
  });
}

}  // namespace cli
