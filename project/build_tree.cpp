#include "project/component_kinds.h"
#include "project/mdl_file.h"
#include "project/node_keys.h"

namespace mdlFile {

namespace {

// Removes every folder that received no component. Removing one only shifts the positions after
// it, so the scan goes on from the same position instead of starting over.
void RemoveEmptyFolders(platform::TreeView& tree) {
  int32_t position = 1;
  while (position <= tree.Count()) {
    const std::string key = tree.Key(position);
    if (!key.empty() && key[0] == kFolderPrefix && tree.Children(position) == 0) {
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
  const int32_t rootPicture =
      (model.type >= typeStandardExe && model.type <= typeActiveXControl) ? model.type : 0;
  tree.Add("", 0, kRootKey, model.name, rootPicture, rootPicture);
  for (const ComponentKindInfo& info : kComponentKinds) {
    tree.Add(kRootKey, platform::tvwChild, FolderKey(info.kind), std::string(info.folderText),
             kPictureFolderClosed, kPictureFolderOpen);
  }
  for (int32_t i = 0; i < static_cast<int32_t>(model.components.size()); ++i) {
    const Component& component = model.components[i];
    if (const ComponentKindInfo* info = FindKind(component.kind)) {
      tree.Add(FolderKey(info->kind), platform::tvwChild, ComponentKey(i), component.name, info->picture,
               info->picture);
    } else {
      // A component of no known kind has no folder; it stands under the root, after the folders,
      // without a picture, so that it is still seen and can be clicked for its path. Its text falls
      // back to the path when the project gave it no name.
      tree.Add(kRootKey, platform::tvwChild, ComponentKey(i),
               component.name.empty() ? component.path : component.name, 0, 0);
    }
  }
  RemoveEmptyFolders(tree);
  tree.Expand(kRootKey);
}

}  // namespace mdlFile
