// What a pack writes and copies per component, and which source lines it drops.
#include <array>
#include <string_view>

#include "pack/mdl_file_pack.h"
#include "project/mdl_trim.h"

namespace mdlFile {

namespace {

constexpr std::array<std::string_view, 7> kComponentKeys{
    "form", "module", "class", "usercontrol", "propertypage", "userdocument", "designer"};

}  // namespace

bool ComponentLine(const Component& component, std::string& line) {
  const std::string fileName = mdlTrim::TextAfterLast(component.path, '\\');
  switch (component.kind) {
    case kindForm:
    case kindMdiForm:
      line = "Form=" + fileName;
      return true;
    case kindModule:
      line = "Module=" + component.name + "; " + fileName;
      return true;
    case kindClass:
      line = "Class=" + component.name + "; " + fileName;
      return true;
    case kindUserControl:
      line = "UserControl=" + fileName;
      return true;
    case kindPropertyPage:
      line = "PropertyPage=" + fileName;
      return true;
    case kindUserDocument:
      line = "UserDocument=" + fileName;
      return true;
    case kindDesigner:
      line = "Designer=" + fileName;
      return true;
    default:
      return false;
  }
}

std::vector<std::string> CompanionExtensions(int32_t kind) {
  switch (kind) {
    case kindForm:
    case kindMdiForm:
      return {".frx"};
    case kindUserControl:
      return {".ctx"};
    case kindPropertyPage:
      return {".pgx"};
    case kindDesigner:
      return {".dsx", ".dsa"};
    default:
      return {};
  }
}

bool IsComponentLine(const std::string& line) {
  const auto eq = line.find('=');
  if (eq == std::string::npos) return false;
  const std::string key = mdlTrim::LowerAscii(std::string_view(line).substr(0, eq));
  for (const auto component : kComponentKeys) {
    if (key == component) return true;
  }
  return false;
}

bool IsPlainFileName(const std::string& name) {
  // The file system drops trailing dots and blanks, so "..", "." and " " would name the folder itself.
  std::string_view kept = name;
  while (!kept.empty() && (kept.back() == '.' || kept.back() == ' ')) kept.remove_suffix(1);
  if (kept.empty()) return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == ':' || c == '\\' || byte < 32) return false;
  }
  return true;
}

}  // namespace mdlFile
