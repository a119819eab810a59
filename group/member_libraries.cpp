#include "group/member_libraries.h"

#include "project/line_file_paths.h"
#include "project/mdl_trim.h"

namespace mdlGroup {

namespace {

// The value of the last line with the key, unquoted; empty when there is none.
std::string LastValue(const mdlFile::ProjectModel& model, const char* key) {
  std::string value;
  for (const auto& line : model.lines)
    if (line.key == key) value = mdlFile::UnquotedPath(line.value).first;
  return value;
}

bool IsCompiledReference(const deps::Dependency& dependency) {
  return (dependency.kind == deps::Kind::Reference || dependency.kind == deps::Kind::Object ||
          dependency.kind == deps::Kind::ComponentObject) &&
         !dependency.guid.empty() && !dependency.malformed;
}

}  // namespace

std::vector<LibraryFilePath> LibraryFilePaths(const mdlFile::ProjectModel& model) {
  std::vector<LibraryFilePath> paths;
  const std::string mode = LastValue(model, "compatiblemode");
  const std::string compatible = LastValue(model, "compatibleexe32");
  if (!mode.empty() && mode != "0" && !compatible.empty())
    paths.push_back({compatible, mdlFile::LineFilePath(model, compatible), "binary-compatibility file"});
  const std::string output = LastValue(model, "exename32");
  if (!output.empty()) {
    const std::string folder = LastValue(model, "path32");
    const std::string inFolder = folder.empty()           ? output
                                 : folder.ends_with('\\') ? folder + output
                                                          : folder + "\\" + output;
    paths.push_back({inFolder, mdlFile::LineFilePath(model, inFolder), "output file"});
  }
  return paths;
}

std::vector<MemberLibrary> ReadMemberLibraries(const std::vector<const mdlFile::ProjectModel*>& models,
                                               platform::LibraryFiles& files) {
  std::vector<MemberLibrary> libraries;
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (models[i] == nullptr) continue;
    for (const auto& path : LibraryFilePaths(*models[i])) {
      const auto file = files.Look(path.full, true);
      if (file.exists && file.identity) libraries.push_back({i, path, file.shown, *file.identity});
    }
  }
  return libraries;
}

const MemberLibrary* ProvidingLibrary(const std::vector<MemberLibrary>& libraries,
                                      const deps::Dependency& dependency, std::size_t member) {
  if (!IsCompiledReference(dependency)) return nullptr;
  const std::string guid = mdlTrim::LowerAscii(dependency.guid);
  for (const auto& library : libraries)
    if (library.member != member && mdlTrim::LowerAscii(library.identity.guid) == guid) return &library;
  return nullptr;
}

std::vector<MemberEdge> LibraryEdges(const std::vector<std::vector<deps::Dependency>>& dependencies,
                                     const std::vector<MemberLibrary>& libraries) {
  std::vector<MemberEdge> edges;
  for (std::size_t i = 0; i < dependencies.size(); ++i)
    for (const auto& dependency : dependencies[i])
      if (const auto* library = ProvidingLibrary(libraries, dependency, i))
        edges.push_back({i, library->member});
  return edges;
}

}  // namespace mdlGroup
