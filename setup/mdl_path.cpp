#include "setup/mdl_path.h"

#include <algorithm>

namespace mdlPath {
namespace {

constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// Names already taken are drawn again, a bounded number of times.
constexpr int kProbeAttempts = 16;

std::string TextBeforeNul(const platform::PathBuffer& buffer) {
  return std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
}

std::string FolderFromShell(platform::ShellFolders& shell, int32_t folder) {
  platform::PathBuffer buffer{};
  // The result code is not looked at: only what the call left in the buffer counts.
  (void)shell.GetFolderPath(folder, platform::kShgfpTypeCurrent, buffer);
  return TextBeforeNul(buffer);
}

std::string FolderFromRegistry(platform::Registry& registry) {
  platform::PathBuffer buffer{};
  int32_t status = 0;
  if (const auto key =
          registry.OpenKey(platform::kHkeyCurrentUser, kShellFoldersKey, platform::kKeyRead, status)) {
    (void)key->QueryValue("Programs", buffer, static_cast<uint32_t>(buffer.size()));
  }
  return TextBeforeNul(buffer);
}

std::string WithBackslashUnlessEmpty(const std::string& folder) {
  return folder.empty() ? folder : AddTrailingBackslash(folder);
}

}  // namespace

std::string AppExePath(const platform::ProgramFile& program) {
  // The folder is asked before the name, in separate statements.
  std::string path = AddTrailingBackslash(program.Folder());
  path += program.BaseName();
  return path + ".exe";
}

std::string AppFolder(const platform::ProgramFile& program) {
  return AddTrailingBackslash(program.Folder());
}

std::string CommonProgramsFolder(platform::ShellFolders& shell) {
  return WithBackslashUnlessEmpty(FolderFromShell(shell, platform::kCsidlCommonPrograms));
}

std::string UserProgramsFolder(platform::ShellFolders& shell, platform::Registry& registry) {
  std::string folder = FolderFromShell(shell, platform::kCsidlPrograms);
  if (folder.empty()) folder = FolderFromRegistry(registry);
  return WithBackslashUnlessEmpty(folder);
}

std::string AddTrailingBackslash(const std::string& folder) {
  if (!folder.empty() && folder.back() == '\\') return folder;
  return folder + "\\";
}

std::string ProbeName(platform::RandomSource& random) {
  std::string name;
  for (int i = 0; i < 8; ++i) {
    // Clamped so that a generator returning 1.0 cannot make a "[".
    const int letter = std::clamp(static_cast<int>(26 * random.Next()), 0, 25);
    name += static_cast<char>('A' + letter);
  }
  return name + ".tmp";
}

int16_t IsFolderWritable(const std::string& folder, platform::ProbeFiles& files,
                         platform::RandomSource& random) {
  if (folder.empty()) return 0;
  const std::string base = AddTrailingBackslash(folder);
  // Seeded once: reseeding from the same instant would draw the same name again.
  random.SeedFromTimeOfDay();
  for (int attempt = 0; attempt < kProbeAttempts; ++attempt) {
    const std::string path = base + ProbeName(random);
    platform::CreatedProbe created = files.CreateExclusive(path);
    if (created.outcome == platform::ProbeCreate::AlreadyExists) continue;
    // A file that was not created here is never deleted.
    if (created.outcome != platform::ProbeCreate::Created || !created.file) return 0;
    const bool closed = created.file->Close();
    created.file.reset();
    const bool deleted = files.Delete(path);
    return closed && deleted ? -1 : 0;
  }
  return 0;
}

}  // namespace mdlPath
