// What the tree, pack and check commands share: the host, the console stand-ins for the window, and reading
// a project the way "&Open..." does.
#pragma once

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/console.h"
#include "cli/memory_tree_view.h"
#include "project/mdl_file.h"

namespace cli {

class CommandSession {
 public:
  // Throws std::invalid_argument when TARVEX_CODEPAGE names a code page that cannot be used.
  CommandSession() : host_(MakeHost()), messages_(host_->codePage()) {}

  // Whether a failed read says on standard error what failed, before "Error.".
  enum class Reasons { Unsaid, Said };
  // Reads the project at a host path into the model and the tree; false after "Error.".
  bool OpenProject(const std::string& argument, Reasons reasons = Reasons::Unsaid);
  // Reads the project at a Windows path through files instead of the host's own; false after "Error.".
  bool OpenProjectAt(const std::string& path, platform::TextFiles& files);

  Host& host() { return *host_; }
  const platform::CodePage& codePage() const { return host_->codePage(); }
  ConsolePointer& pointer() { return pointer_; }
  ConsoleMessages& messages() { return messages_; }
  const MemoryTreeView& tree() const { return tree_; }

 private:
  std::unique_ptr<Host> host_;
  ConsolePointer pointer_;
  ConsoleMessages messages_;
  MemoryTreeView tree_;
  NoMenuCommand saveAs_;
};

// What failed a read of the project named by argument (its Windows path projectPath), as one line:
// "ARGUMENT[:LINE]: error: cannot read ['FILE']: REASON [unreadable]", FILE as the project file writes it.
std::string ReadFailureText(const std::string& argument, const std::string& projectPath,
                            const mdlFile::ReadFailure& failure, const platform::CodePage& codePage);
// Why a project named on the command line cannot be opened when its path cannot be written in code page text.
std::string PathOutsideCodePageText(const std::string& argument);

// Runs body with a session, or reports a code page that cannot be used as a usage error.
template <typename Body>
int WithSession(Body body) {
  std::unique_ptr<CommandSession> session;
  try {
    session = std::make_unique<CommandSession>();
  } catch (const std::invalid_argument& error) {
    std::cerr << "tarvex-cli: " << error.what() << '\n';
    return kExitUsage;
  }
  return body(*session);
}

}  // namespace cli
