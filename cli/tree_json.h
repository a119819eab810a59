// The model and the tree as JSON, every string decoded from the code page to UTF-8.
#pragma once

#include <string>

#include "cli/memory_tree_view.h"
#include "platform/code_page.h"
#include "project/project_model.h"

namespace cli {

// Appends the UTF-8 text as a JSON string, quoted and escaped.
void AppendJsonString(std::string& out, const std::string& utf8);

std::string TreeJson(const mdlFile::ProjectModel& model, const MemoryTreeView& tree,
                     const platform::CodePage& codePage);

// The tree as indented text, one node a line, each component with its path.
std::string TreeText(const mdlFile::ProjectModel& model, const MemoryTreeView& tree,
                     const platform::CodePage& codePage);

}  // namespace cli
