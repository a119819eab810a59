#include "group/read_group.h"

#include <unordered_map>
#include <vector>

#include "project/line_reader.h"
#include "project/mdl_trim.h"

namespace mdlGroup {

namespace {

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

bool IsGroupHeader(std::string_view line) {
  const std::string_view trimmed = mdlTrim::TrimBlanks(line);
  const std::string_view word = trimmed.substr(0, trimmed.find(' '));
  return mdlTrim::EqualsIgnoringAsciiCase(word, "vbgroup");
}

// Adds the member of a StartupProject or Project line, unless it names the group file or a member already
// named.
void AddMember(GroupModel& group, std::unordered_map<std::string, int64_t>& named,
               const mdlFile::ProjectLine& line, bool startup) {
  GroupMember member{line.value, line.number, startup};
  const std::string key = FileKey(MemberFilePath(group, member));
  if (key == FileKey(group.filePath)) {
    group.problems.push_back(
        {line.number, "member-is-group-file",
         Quoted(line.value) + " is the group file itself, not a project: remove the line"});
    return;
  }
  const auto [first, added] = named.try_emplace(key, line.number);
  if (!added) {
    group.problems.push_back({line.number, "duplicate-member",
                              Quoted(line.value) + " is already a member (line " +
                                  std::to_string(first->second) +
                                  "); a project is loaded once: remove one of the lines"});
    return;
  }
  group.members.push_back(std::move(member));
}

}  // namespace

GroupModel ReadGroup(const std::string& path, platform::TextFiles& files) {
  GroupModel group;
  group.filePath = path;
  std::vector<std::string> text;
  {
    const auto file = files.OpenInput(path);
    mdlFile::LineReader reader(*file);
    for (std::string line; reader.Next(line);) text.push_back(line);
  }
  bool blank = true;
  for (const auto& line : text) {
    if (line.find('\0') != std::string::npos) {
      group.problems.push_back(
          {0, "not-a-group", "the file holds NUL bytes: it is binary, not a group file"});
      return group;
    }
    if (!mdlTrim::TrimBlanks(line).empty()) blank = false;
  }
  if (blank) {
    group.problems.push_back({0, "not-a-group", "the file is empty: a group file starts with 'VBGROUP 5.0'"});
    return group;
  }
  if (!IsGroupHeader(text.front())) {
    group.problems.push_back(
        {1, "not-a-group", "the first line is not 'VBGROUP 5.0': the file is no group file"});
    return group;
  }
  std::unordered_map<std::string, int64_t> named;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto eq = text[i].find('=');
    if (eq == std::string::npos) continue;
    group.lines.push_back({static_cast<int64_t>(i + 1),
                           mdlTrim::LowerAscii(std::string_view(text[i]).substr(0, eq)),
                           text[i].substr(eq + 1)});
    const mdlFile::ProjectLine& line = group.lines.back();
    if (line.key == "startupproject") {
      // Only one member is started; a later StartupProject line still names a member.
      AddMember(group, named, line, ++group.startupLines == 1);
    } else if (line.key == "project") {
      AddMember(group, named, line, false);
    }
  }
  return group;
}

std::string MemberFilePath(const GroupModel& group, const GroupMember& member) {
  return mdlTrim::TextBeforeLast(group.filePath, '\\') + "\\" + member.path;
}

std::string FileKey(std::string_view fullPath) {
  std::vector<std::string> kept;
  std::size_t i = 0;
  while (i <= fullPath.size()) {
    std::size_t end = fullPath.find_first_of("\\/", i);
    if (end == std::string_view::npos) end = fullPath.size();
    const std::string_view name = fullPath.substr(i, end - i);
    if (name == "..") {
      if (kept.size() > 1) kept.pop_back();
    } else if (!name.empty() && name != ".") {
      kept.push_back(mdlTrim::LowerAscii(name));
    }
    i = end + 1;
  }
  std::string key;
  for (const auto& name : kept) key += (key.empty() ? "" : "\\") + name;
  return key;
}

bool KeyIsUnder(const std::string& fileKey, const std::string& folderKey) {
  return fileKey.size() > folderKey.size() + 1 && fileKey.compare(0, folderKey.size(), folderKey) == 0 &&
         fileKey[folderKey.size()] == '\\';
}

std::string StemOf(std::string_view path) {
  const std::string name = mdlTrim::TextAfterLast(mdlTrim::TextAfterLast(path, '\\'), '/');
  const auto dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace mdlGroup
