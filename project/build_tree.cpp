#include <array>
#include <string_view>

#include "project/mdl_file.h"

namespace mdlFile {

namespace {

constexpr std::array<std::string_view, 8> kFolderCaptions{
    "Forms", "MDI Forms", "Modules", "Class Modules", "User Controls", "PropertyPages", "User Documents",
    "Designers"};

constexpr int32_t kPictureFolderClosed = 5;
constexpr int32_t kPictureFolderOpen = 6;
constexpr int32_t kFirstComponentPicture = 6;  // kind + 6

bool IsKnownKind(int32_t kind) { return kind >= kindForm && kind <= kindDesigner; }

// Removes every folder that received no component. Removing one only shifts the positions after
// it, so the scan goes on from the same position instead of starting over.
void RemoveEmptyFolders(platform::TreeView& tree) {
  int32_t position = 1;
  while (position <= tree.Count()) {
    const std::string key = tree.Key(position);
    if (!key.empty() && key[0] == 'r' && tree.Children(position) == 0) {
      tree.Remove(position);
    } else {
      ++position;
    }
  }
}

}  // namespace

void BuildProjectTree(const ProjectModel& model, platform::TreeView& tree) {
  tree.Clear();
  // A project without a known type has no root picture: position 0 shows none.
  const int32_t rootPicture = (model.type >= typeStandardExe && model.type <= typeActiveXControl) ? model.type : 0;
  tree.Add("", 0, "p0", model.name, rootPicture, rootPicture);
  for (int32_t kind = kindForm; kind <= kindDesigner; ++kind) {
    tree.Add("p0", platform::tvwChild, "r" + std::to_string(kind), std::string(kFolderCaptions[kind - 1]),
             kPictureFolderClosed, kPictureFolderOpen);
  }
  for (int32_t i = 0; i < static_cast<int32_t>(model.components.size()); ++i) {
    const Component& component = model.components[i];
    if (IsKnownKind(component.kind)) {
      const int32_t picture = component.kind + kFirstComponentPicture;
      tree.Add("r" + std::to_string(component.kind), platform::tvwChild, "f" + std::to_string(i), component.name,
               picture, picture);
    } else {
      // A component of no known kind has no folder; it stands under the root, after the folders,
      // without a picture, so that it is still seen and can be clicked for its path. Its text falls
      // back to the path when the project gave it no name.
      tree.Add("p0", platform::tvwChild, "f" + std::to_string(i), component.name.empty() ? component.path : component.name,
               0, 0);
    }
  }
  RemoveEmptyFolders(tree);
  tree.Expand("p0");
}

}  // namespace mdlFile
