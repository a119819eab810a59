#include "setup/mdl_shell_lnk.h"

#include <memory>

#include "base/wide_text.h"
#include "platform/errors.h"

namespace mdlShellLnk {
namespace {

void Check(platform::HResult result, const char* call) {
  if (result < 0) throw platform::RaisedError(result, std::string(call) + " failed");
}

}  // namespace

void CreateShortcut(const ShellLinkContext& context, const std::string& linkPath,
                    const std::string& targetPath, const std::string& workingFolder,
                    const std::string& arguments, const std::string& iconPath, int32_t iconIndex,
                    int32_t showCommand, const std::string& description) {
  std::unique_ptr<platform::ShellLink> link;
  Check(context.factory.Create(link), "Creating the ShellLink object");
  if (!link) throw platform::RaisedError(platform::kEFail, "Creating the ShellLink object failed");
  std::unique_ptr<platform::PersistFile> file;
  Check(link->QueryPersistFile(file), "QueryInterface for IPersistFile");
  if (!file) throw platform::RaisedError(platform::kEFail, "QueryInterface for IPersistFile failed");

  Check(link->SetPath(targetPath), "IShellLinkA::SetPath");
  if (!workingFolder.empty())
    Check(link->SetWorkingDirectory(workingFolder), "IShellLinkA::SetWorkingDirectory");
  if (!arguments.empty()) Check(link->SetArguments(arguments), "IShellLinkA::SetArguments");
  if (!description.empty()) Check(link->SetDescription(description), "IShellLinkA::SetDescription");
  if (!iconPath.empty()) Check(link->SetIconLocation(iconPath, iconIndex), "IShellLinkA::SetIconLocation");
  Check(link->SetShowCmd(showCommand), "IShellLinkA::SetShowCmd");
  Check(link->Resolve(0, platform::kSlrNoUi | platform::kSlrUpdate), "IShellLinkA::Resolve");
  Check(file->Save(base::WideFromUtf8(context.codePage.ToUtf8(linkPath)), false), "IPersistFile::Save");
  // Both interfaces are released as file and link go out of scope, IPersistFile first.
}

}  // namespace mdlShellLnk
