#include "cli/group_session.h"

#include <iostream>

#include "cli/deps_platform.h"
#include "group/member_libraries.h"
#include "group/read_group.h"
#include "platform/errors.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"

namespace cli {

namespace {

// Notes the first failure of the files a read goes through, which the reader itself absorbs.
class FailureNoting : public platform::TextFiles {
 public:
  explicit FailureNoting(platform::TextFiles& files) : files_(files) {}
  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override {
    try {
      return std::make_unique<NotingInput>(*this, files_.OpenInput(path));
    } catch (const platform::FileError& error) {
      Note(error);
      throw;
    }
  }
  // Why the read failed: the system's reason, after the file's path when it is another file than main.
  std::string Failure(const std::string& main) const {
    return failurePath_.empty() || failurePath_ == main ? reason_ : failurePath_ + ": " + reason_;
  }

 private:
  class NotingInput : public platform::InputFile {
   public:
    NotingInput(FailureNoting& owner, std::unique_ptr<platform::InputFile> file)
        : owner_(owner), file_(std::move(file)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
      try {
        return file_->Read(buffer, size);
      } catch (const platform::FileError& error) {
        owner_.Note(error);
        throw;
      }
    }

   private:
    FailureNoting& owner_;
    std::unique_ptr<platform::InputFile> file_;
  };

  void Note(const platform::FileError& error) {
    if (!reason_.empty()) return;
    failurePath_ = error.Path();
    reason_ = error.what();
  }

  platform::TextFiles& files_;
  std::string failurePath_;
  std::string reason_;
};

}  // namespace

bool IsGroupArgument(const std::string& argument) {
  return argument.size() > 4 &&
         mdlTrim::EqualsIgnoringAsciiCase(std::string_view(argument).substr(argument.size() - 4), ".vbg");
}

void PrintError(const CommandSession& session, const std::string& shownPath, int64_t line,
                const std::string& code, const std::string& text) {
  std::cerr << shownPath << ':' << line << ": error: " << session.codePage().ToUtf8(text) << " [" << code
            << "]\n";
}

std::optional<mdlGroup::GroupModel> OpenGroup(CommandSession& session, const std::string& argument,
                                              bool keepProblems) {
  const auto path = WindowsPathOf(argument, session.codePage());
  if (!path) {
    std::cerr << argument << ":0: error: the name cannot be written in code page text [unreadable]\n";
    return std::nullopt;
  }
  mdlGroup::GroupModel group;
  try {
    group = mdlGroup::ReadGroup(*path, session.host().files());
  } catch (const platform::FileError& error) {
    PrintError(session, argument, 0, "unreadable",
               "cannot read the group file: " + std::string(error.what()));
    return std::nullopt;
  }
  if (keepProblems || group.problems.empty()) return group;
  for (const auto& problem : group.problems)
    PrintError(session, argument, problem.line, problem.code, problem.text);
  return std::nullopt;
}

MemberRead ReadMember(CommandSession& session, const std::string& path, platform::TextFiles& files,
                      MemoryTreeView& tree) {
  class Quiet : public platform::MessageBox {
   public:
    void Show(const std::string&, int32_t, const std::string&) override {}
  } quiet;
  NoMenuCommand saveAs;
  FailureNoting noting(files);
  const mdlFile::ReaderContext context{noting, session.pointer(), quiet, tree, saveAs};
  MemberRead read;
  if (mdlFile::ReadProject(path, context)) {
    read.model = mdlFile::Model();
  } else {
    read.failure = noting.Failure(path);
  }
  return read;
}

std::vector<const mdlFile::ProjectModel*> MembersRead::Pointers() const {
  std::vector<const mdlFile::ProjectModel*> pointers;
  for (const auto& model : models) pointers.push_back(model ? &*model : nullptr);
  return pointers;
}

MembersRead ReadMembers(CommandSession& session, const mdlGroup::GroupModel& group,
                        const std::string& argument) {
  MembersRead read;
  for (const auto& member : group.members) {
    MemoryTreeView tree;
    MemberRead one =
        ReadMember(session, mdlGroup::MemberFilePath(group, member), session.host().files(), tree);
    if (!one.model) {
      read.failed = true;
      PrintError(session, argument, member.line, "member-unreadable",
                 "cannot read '" + member.path + "': " + (one.failure.empty() ? "Error." : one.failure));
    }
    read.models.push_back(std::move(one.model));
  }
  return read;
}

std::vector<mdlGroup::MemberEdge> LibraryEdges(CommandSession& session,
                                               const std::vector<const mdlFile::ProjectModel*>& models) {
  std::vector<std::vector<deps::Dependency>> dependencies;
  for (const auto* model : models) {
    dependencies.push_back(model == nullptr ? std::vector<deps::Dependency>()
                                            : deps::ReadDependencies(*model, session.host().files()));
  }
  const auto files = MakeLibraryFiles(std::nullopt, session.codePage());
  return mdlGroup::LibraryEdges(dependencies, mdlGroup::ReadMemberLibraries(models, *files));
}

}  // namespace cli
