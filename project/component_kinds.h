// The kinds of component a project holds: how the project file names each, which tree folder and
// picture it gets, and which files travel with it. Reader, tree and packer all go by this one table.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "project/project_model.h"

namespace mdlFile {

struct ComponentKindInfo {
  int32_t kind;
  // The project file's key as a pack writes it; read without regard to ASCII case.
  std::string_view key;
  // Whether the line gives the name before the file ("Module=Name; path"); otherwise the name is read
  // from the component's own file.
  bool namedInLine;
  std::string_view folderText;
  int32_t picture;  // image-list position of its components
  // The source file's usual extension: text the IDE reads line by line.
  std::string_view extension;
  // Binary files beside the source, named like it with another extension, copied with it.
  std::span<const std::string_view> companions;
};

inline constexpr int32_t kPictureFolderClosed = 5;
inline constexpr int32_t kPictureFolderOpen = 6;

namespace kinds_detail {
inline constexpr std::array<std::string_view, 1> kFormCompanions{".frx"};
inline constexpr std::array<std::string_view, 1> kControlCompanions{".ctx"};
inline constexpr std::array<std::string_view, 1> kPageCompanions{".pgx"};
inline constexpr std::array<std::string_view, 2> kDesignerCompanions{".dsx", ".dsa"};
}  // namespace kinds_detail

// Every known kind by its number from kindForm, which is also the order of the tree's folders.
inline constexpr std::array<ComponentKindInfo, 8> kComponentKinds{{
    {kindForm, "Form", false, "Forms", 7, ".frm", kinds_detail::kFormCompanions},
    {kindMdiForm, "Form", false, "MDI Forms", 8, ".frm", kinds_detail::kFormCompanions},
    {kindModule, "Module", true, "Modules", 9, ".bas", {}},
    {kindClass, "Class", true, "Class Modules", 10, ".cls", {}},
    {kindUserControl, "UserControl", false, "User Controls", 11, ".ctl", kinds_detail::kControlCompanions},
    {kindPropertyPage, "PropertyPage", false, "PropertyPages", 12, ".pag", kinds_detail::kPageCompanions},
    {kindUserDocument, "UserDocument", false, "User Documents", 13, ".dob", {}},
    {kindDesigner, "Designer", false, "Designers", 14, ".dsr", kinds_detail::kDesignerCompanions},
}};

// The row of a known kind; null for kindUndetermined or any other number.
const ComponentKindInfo* FindKind(int32_t kind);
// The kind a project file key names, compared without regard to ASCII case; null for any other key.
// Both forms share "Form": it gives kindForm, and the form's own file tells an MDI form apart.
const ComponentKindInfo* KindOfKey(std::string_view key);

}  // namespace mdlFile
