// The project reader: the one project model, reading a project file, and building the project tree.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/text_files.h"
#include "platform/tree_view.h"
#include "platform/user_interface.h"
#include "project/project_model.h"

namespace mdlFile {

inline constexpr const char* kAppTitle = "Tarvex";

// What failed a read: the file the system named, the line of the project file that names it (0 for the
// project file itself), and the system's reason.
struct ReadFailure {
  std::string file;
  int64_t line = 0;
  std::string reason;
};

// What a read touches besides the model: the files, and the window it reports to.
struct ReaderContext {
  platform::TextFiles& files;
  platform::MousePointer& pointer;
  platform::MessageBox& messages;
  platform::TreeView& tree;
  platform::MenuCommand& saveAs;  // mnuFileSaveAs
  // Told what failed a read before "Error." is shown; the user of the window still sees one message.
  std::function<void(const ReadFailure&)> onFailure = {};
};

// The model of the open project; every read replaces it.
ProjectModel& Model();

// Reads the project file at path (a Windows path) into Model(), then rebuilds the tree and enables
// "Save &As...", or disables it and shows "Error.". Returns whether the read succeeded.
bool ReadProject(const std::string& path, const ReaderContext& context);

// Appends one component for a component line of the given kind. Throws FileError when a component
// file that must be opened cannot be read. line is the project file's line that names it.
void AddComponent(ProjectModel& model, platform::TextFiles& files, const std::string& value, int32_t kind,
                  int64_t line = 0);
// 1 for a form, 2 for an MDI form, 0 for neither; path as written in the project file.
int32_t ReadFormKind(const ProjectModel& model, platform::TextFiles& files, const std::string& path);
// What a form's own file tells: its name and whether it is a form or an MDI form.
struct FormFacts {
  std::string name;
  int32_t kind = kindUndetermined;
};
// The two read from one opening of the file, as ReadComponentName and ReadFormKind would read them.
FormFacts ReadFormFacts(const ProjectModel& model, platform::TextFiles& files, const std::string& path);
// ReadFormKind's scan of a file already open, read from where it stands.
int32_t ScanFormKind(platform::InputFile& file);
// The name from the component's "Attribute VB_Name" line, or the empty string.
std::string ReadComponentName(const ProjectModel& model, platform::TextFiles& files, const std::string& path);

// Throws away the tree's nodes and builds them anew from the model.
void BuildProjectTree(const ProjectModel& model, platform::TreeView& tree);

// The full path of a component's source file: the project file's folder, "\" and the path as written.
std::string ComponentFilePath(const ProjectModel& model, const std::string& path);

}  // namespace mdlFile
