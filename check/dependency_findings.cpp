#include "check/dependency_findings.h"

#include <unordered_set>

#include "deps/dependency.h"
#include "deps/resolve.h"
#include "platform/errors.h"
#include "project/mdl_trim.h"

namespace check {

namespace {

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

bool Exists(platform::TextFiles& files, const std::string& path) {
  try {
    files.OpenInput(path);
    return true;
  } catch (const platform::FileError&) {
    return false;
  }
}

}  // namespace

void AddDependencyFindings(const CheckInput& input, std::vector<Finding>& findings) {
  const auto dependencies = deps::ReadDependencies(input.model, input.files);
  std::unordered_set<std::string> objects;
  for (const auto& dependency : dependencies) {
    if (dependency.kind == deps::Kind::Object && !dependency.guid.empty()) objects.insert(dependency.guid);
  }
  const auto missingFile = [&](const deps::Dependency& dependency, const char* code, const std::string& what,
                               const std::string& advice) {
    if (Exists(input.files, deps::FullPath(input.model, dependency.name))) return;
    findings.push_back({dependency.file, dependency.line, Severity::Error, code,
                        what + " " + Quoted(dependency.name) + " is missing; " + advice});
  };
  for (const auto& dependency : dependencies) {
    switch (dependency.kind) {
      case deps::Kind::ResourceFile:
        missingFile(dependency, "resource-missing", "the resource file",
                    "the project does not compile without it: restore it or remove the ResFile32 line");
        break;
      case deps::Kind::ProjectReference:
        missingFile(dependency, "project-reference-missing", "the project",
                    "the reference to it cannot load: restore it or correct the path");
        break;
      case deps::Kind::CompatibilityFile:
        missingFile(
            dependency, "compatibility-missing", "the binary-compatibility file",
            "CompatibleMode asks for it, so the project does not compile: restore it or turn compatibility "
            "off");
        break;
      case deps::Kind::Reference:
        if (deps::IsOcxReference(dependency)) {
          findings.push_back(
              {dependency.file, dependency.line, Severity::Error, "ocx-as-reference",
               Quoted(dependency.name) +
                   " is a control named as a reference, which stops the development environment "
                   "loading the project: name it in an Object= line instead"});
        }
        break;
      case deps::Kind::ComponentObject:
        if (!dependency.guid.empty() && !objects.contains(dependency.guid)) {
          findings.push_back({dependency.file, dependency.line, Severity::Warning, "object-not-in-project",
                              "the control " + dependency.guid + " (" + Quoted(dependency.name) +
                                  ") is used here but the project file has no Object= line for it: add one"});
        }
        break;
      default:
        break;
    }
  }
}

}  // namespace check
