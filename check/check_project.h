// The rules of `tarvex-cli check`: what in a project that reads fine here breaks it elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/observed_files.h"
#include "platform/folder_names.h"
#include "platform/pack_files.h"
#include "platform/text_files.h"
#include "project/project_model.h"

namespace check {

enum class Severity { Error, Warning, Note };

// One finding: where (a Windows path and a line from 1), how bad, a stable code, and plain words.
struct Finding {
  std::string file;
  int64_t line = 0;
  Severity severity = Severity::Error;
  std::string code;
  std::string text;
};

std::string_view SeverityName(Severity severity);

// What a check looks at: the model as the reader left it, the reader's files as observed during that
// read, the files for what the reader did not open, and the folders' real names.
struct CheckInput {
  const mdlFile::ProjectModel& model;
  const ObservedFiles& observed;
  platform::TextFiles& files;
  platform::FolderNames& folders;
};

// Every finding, the project file's first, then each component file's in the project's order, each
// file's by line.
std::vector<Finding> CheckProject(const CheckInput& input);

// Rewrites every file a line-ends finding names to CR LF line ends, changing no other byte, and
// returns what it did: a line-ends-fixed note or a fix-refused error per file. Only files inside
// the project's folder are written, and only files read whole.
std::vector<Finding> FixLineEnds(const std::vector<Finding>& findings, const mdlFile::ProjectModel& model,
                                 platform::TextFiles& files, platform::PackFiles& output);

// The bytes with every line end (CR, LF or CR LF) made CR LF.
std::string WithCrLf(std::string_view bytes);

// Puts findings in the order CheckProject gives: by file (the project file first, then the component
// files in the project's order, then any other) and line.
void SortFindings(std::vector<Finding>& findings, const mdlFile::ProjectModel& model);

// Whether any finding is an error, or with strict, a warning.
bool Fails(const std::vector<Finding>& findings, bool strict);

}  // namespace check
