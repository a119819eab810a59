// What a pack writes and copies per component, and which source lines it drops.
#include "pack/mdl_file_pack.h"
#include "project/component_kinds.h"
#include "project/mdl_trim.h"

namespace mdlFile {

bool ComponentLine(const Component& component, std::string& line, const std::bitset<256>& lead) {
  const ComponentKindInfo* info = FindKind(component.kind);
  if (info == nullptr) return false;
  line = std::string(info->key) + "=";
  if (info->namedInLine) line += component.name + "; ";
  line += mdlTrim::TextAfterLast(component.path, '\\', lead);
  return true;
}

std::span<const std::string_view> CompanionExtensions(int32_t kind) {
  const ComponentKindInfo* info = FindKind(kind);
  return info == nullptr ? std::span<const std::string_view>() : info->companions;
}

bool IsComponentLine(const std::string& line) {
  const auto eq = line.find('=');
  return eq != std::string::npos && KindOfKey(std::string_view(line).substr(0, eq)) != nullptr;
}

bool IsPlainFileName(const std::string& name, const std::bitset<256>& lead) {
  // The file system drops trailing dots and blanks, so "..", "." and " " would name the folder itself.
  std::string_view kept = name;
  while (!kept.empty() && (kept.back() == '.' || kept.back() == ' ')) kept.remove_suffix(1);
  if (kept.empty()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == ':' || c == '\\' || byte < 32) return false;
    if (mdlTrim::StartsPair(name, i, lead)) ++i;  // the second byte of a character is no separator
  }
  return true;
}

}  // namespace mdlFile
