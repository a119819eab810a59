// Packing the open project into one folder: the new project file and copies of every component file.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/pack_files.h"
#include "platform/user_interface.h"
#include "project/project_model.h"

namespace mdlFile {

// One step of a pack that failed: what was attempted, the file the system named, and its reason.
struct PackFailure {
  std::string attempted;  // such as: copy C:\Work\Main.frm to D:\Pack\Main.frm
  std::string file;
  std::string reason;
};

// What a pack touches besides the model.
struct PackContext {
  platform::PackFiles& files;
  platform::MousePointer& pointer;
  platform::MessageBox& messages;
  // Told of every failed step as it happens; the user still sees one message at the end.
  std::function<void(const PackFailure&)> onFailure = {};
  // What a pack does beyond "Save &As..." (a group's shared files, --complete); left empty, nothing.
  // Per component, by its index: the path its line names instead of the bare name. A component given one
  // is not copied here: whoever placed it there copies it.
  std::vector<std::string> placedPaths = {};
  // Per line of the source project file, numbered from 1: the value written after the key and "=" as
  // they stand, instead of the source's.
  std::map<int64_t, std::string> newValues = {};
  // Further files copied beside the project file after the components: the source path and the bare name.
  std::vector<std::pair<std::string, std::string>> extraCopies = {};
  // At most this many copies made side by side where the files allow it and no copy can read what
  // another writes; each result is still taken in the pack's order, so what it reports, and when, is
  // the same. 0: one copy at a time, as the window packs.
  unsigned copyThreads = 0;
};

// Writes the project file target (a Windows path, used as given) with bare component names, copies
// every component file and its companions beside it, and shows "Project saved." or "Error during
// save.". The model is only read. Returns whether the save succeeded.
bool PackProject(const ProjectModel& model, const std::string& target, const PackContext& context);

// The project file line written for a component, or nothing for a kind that has none.
// lead: the lead bytes of a double-byte code page, whose second bytes are no separators.
bool ComponentLine(const Component& component, std::string& line, const std::bitset<256>& lead = {});
// The companion extensions copied with a component of this kind, in order (empty when none).
std::span<const std::string_view> CompanionExtensions(int32_t kind);
// Whether a line of the source project file is a component line, dropped when lines are carried over.
bool IsComponentLine(const std::string& line);
// Whether a file name can be written into the target folder without reaching anywhere else.
bool IsPlainFileName(const std::string& name, const std::bitset<256>& lead = {});

}  // namespace mdlFile
