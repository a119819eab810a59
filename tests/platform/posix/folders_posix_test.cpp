#include <gtest/gtest.h>

#include "platform/posix/code_pages.h"
#include "platform/posix/setup_folders.h"
#include "platform/posix/setup_probe_files.h"
#include "setup/mdl_path.h"
#include "setup/time_seeded_random.h"
#include "tests/fakes/fake_setup.h"
#include "tests/platform/posix/posix_test_support.h"

using namespace setup_test;

namespace {

// Sets environment variables for one test and puts the old values back.
class ScopedEnv {
 public:
  void Set(const std::string& name, const char* value) {
    if (!saved_.count(name)) {
      const char* old = std::getenv(name.c_str());
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    if (value == nullptr) {
      unsetenv(name.c_str());
    } else {
      setenv(name.c_str(), value, 1);
    }
  }
  ~ScopedEnv() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

class XdgFolders : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedEnv env;
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  posix::XdgShellFolders shell{*codePage};
  posix::NoRegistry registry;
};

}  // namespace

TEST_F(XdgFolders, UserFolderIsApplicationsInTheDataHome) {
  dir.Make("data/applications");
  env.Set("XDG_DATA_HOME", (dir.Path() / "data").c_str());
  EXPECT_EQ(mdlPath::UserProgramsFolder(shell, registry), ZPath(dir.Path() / "data/applications") + "\\");
}

TEST_F(XdgFolders, UserFolderDefaultsToTheHomeAndIgnoresARelativeDataHome) {
  dir.Make("home/.local/share/applications");
  env.Set("HOME", (dir.Path() / "home").c_str());
  env.Set("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(mdlPath::UserProgramsFolder(shell, registry),
            ZPath(dir.Path() / "home/.local/share/applications") + "\\");
  env.Set("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(mdlPath::UserProgramsFolder(shell, registry),
            ZPath(dir.Path() / "home/.local/share/applications") + "\\");
  env.Set("XDG_DATA_HOME", "");
  EXPECT_EQ(mdlPath::UserProgramsFolder(shell, registry),
            ZPath(dir.Path() / "home/.local/share/applications") + "\\");
}

TEST_F(XdgFolders, MissingFoldersAreEmpty) {
  env.Set("XDG_DATA_HOME", (dir.Path() / "nothing").c_str());
  env.Set("XDG_DATA_DIRS", (dir.Path() / "nothing").c_str());
  EXPECT_EQ(mdlPath::UserProgramsFolder(shell, registry), "");
  EXPECT_EQ(mdlPath::CommonProgramsFolder(shell), "");
  // A file where the folder should be is not a folder either.
  dir.Make("file");
  WriteAll(dir.Path() / "file/applications", "x");
  env.Set("XDG_DATA_DIRS", (dir.Path() / "file").c_str());
  EXPECT_EQ(mdlPath::CommonProgramsFolder(shell), "");
}

TEST_F(XdgFolders, CommonFolderIsInTheFirstDataDirOnly) {
  dir.Make("one/applications");
  dir.Make("two/applications");
  env.Set("XDG_DATA_DIRS", ((dir.Path() / "one").string() + ":" + (dir.Path() / "two").string()).c_str());
  EXPECT_EQ(mdlPath::CommonProgramsFolder(shell), ZPath(dir.Path() / "one/applications") + "\\");
  env.Set("XDG_DATA_DIRS", ((dir.Path() / "none").string() + ":" + (dir.Path() / "two").string()).c_str());
  EXPECT_EQ(mdlPath::CommonProgramsFolder(shell), "");
  env.Set("XDG_DATA_DIRS", nullptr);
  EXPECT_EQ(posix::XdgProgramsFolder(platform::kCsidlCommonPrograms), "/usr/local/share/applications");
}

TEST_F(XdgFolders, PathTooLongForTheBufferIsNotGiven) {
  std::string deep = "data";
  while (ZPath(dir.Path() / deep).size() < 270) deep += "/abcdefghij";
  dir.Make(deep + "/applications");
  env.Set("XDG_DATA_HOME", (dir.Path() / deep).c_str());
  EXPECT_EQ(mdlPath::UserProgramsFolder(shell, registry), "");
}

TEST(NoRegistry, OpensNoKey) {
  posix::NoRegistry registry;
  int32_t status = 0;
  EXPECT_EQ(registry.OpenKey(platform::kHkeyCurrentUser, "Software", platform::kKeyRead, status), nullptr);
  EXPECT_NE(status, 0);
}

TEST(RunningProgramFile, IsThisTestProgramInZForm) {
  const auto codePage = posix::MakeCodePage(1252);
  const posix::RunningProgramFile program(*codePage);
  const fs::path self = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(program.Folder(), ZPath(self.parent_path()));
  EXPECT_EQ(program.BaseName(), "tests_platform_posix");
}

TEST(SplitProgramPath, KeepsTheDriveRootsBackslashAndDropsTheExtension) {
  std::string folder, base;
  mdlPath::SplitProgramPath("Z:\\tarvex", folder, base);
  EXPECT_EQ(folder, "Z:\\");
  EXPECT_EQ(base, "tarvex");
  mdlPath::SplitProgramPath("Z:\\opt\\bin\\tarvex.bin", folder, base);
  EXPECT_EQ(folder, "Z:\\opt\\bin");
  EXPECT_EQ(base, "tarvex");
  mdlPath::SplitProgramPath("Z:\\opt\\my.tool.x", folder, base);
  EXPECT_EQ(base, "my.tool");
  mdlPath::SplitProgramPath("Z:\\opt\\.hidden", folder, base);
  EXPECT_EQ(base, ".hidden");
}

class ProbeFolder : public ::testing::Test {
 protected:
  TempDir dir;
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  posix::PosixProbeFiles files{*codePage};
  std::string folder = ZPath(dir.Path());
};

TEST_F(ProbeFolder, WritableFolderIsTrueAndKeepsNothing) {
  mdlPath::TimeSeededRandom random;
  EXPECT_EQ(mdlPath::IsFolderWritable(folder, files, random), -1);
  EXPECT_EQ(mdlPath::IsFolderWritable(folder + "\\", files, random), -1);
  EXPECT_TRUE(fs::is_empty(dir.Path()));
}

TEST_F(ProbeFolder, MissingFolderIsFalse) {
  mdlPath::TimeSeededRandom random;
  EXPECT_EQ(mdlPath::IsFolderWritable(folder + "\\none", files, random), 0);
}

TEST_F(ProbeFolder, ExistingFileOfTheDrawnNameIsNeitherTruncatedNorDeleted) {
  fakes::CallLog log;
  // Draws AAAAAAAA first, then BBBBBBBB.
  fakes::ScriptedRandom random(log, {0, 0, 0, 0, 0, 0, 0, 0, 0.04, 0.04, 0.04, 0.04, 0.04, 0.04, 0.04, 0.04});
  WriteAll(dir.Path() / "AAAAAAAA.tmp", "keep me");
  EXPECT_EQ(mdlPath::IsFolderWritable(folder, files, random), -1);
  EXPECT_EQ(ReadAll(dir.Path() / "AAAAAAAA.tmp"), "keep me");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST_F(ProbeFolder, NameTakenInAnotherCaseOrByALinkCountsAsTaken) {
  WriteAll(dir.Path() / "aaaaaaaa.tmp", "keep me");
  fs::create_symlink(dir.Path() / "elsewhere", dir.Path() / "BBBBBBBB.tmp");
  EXPECT_EQ(files.CreateExclusive(folder + "\\AAAAAAAA.tmp").outcome, platform::ProbeCreate::AlreadyExists);
  EXPECT_EQ(files.CreateExclusive(folder + "\\BBBBBBBB.tmp").outcome, platform::ProbeCreate::AlreadyExists);
  EXPECT_EQ(ReadAll(dir.Path() / "aaaaaaaa.tmp"), "keep me");
  EXPECT_FALSE(fs::exists(dir.Path() / "elsewhere"));
}

TEST_F(ProbeFolder, UnwritableFolderIsFalse) {
  const fs::path locked = dir.Make("locked", fs::perms(0555));
  platform::CreatedProbe created = files.CreateExclusive(ZPath(locked) + "\\AAAAAAAA.tmp");
  if (geteuid() == 0) {
    // The superuser writes anywhere; what matters then is that the probe is removed again.
    ASSERT_EQ(created.outcome, platform::ProbeCreate::Created);
    EXPECT_TRUE(created.file->Close());
    EXPECT_TRUE(files.Delete(ZPath(locked) + "\\AAAAAAAA.tmp"));
  } else {
    EXPECT_EQ(created.outcome, platform::ProbeCreate::Failed);
    mdlPath::TimeSeededRandom random;
    EXPECT_EQ(mdlPath::IsFolderWritable(ZPath(locked), files, random), 0);
  }
  EXPECT_TRUE(fs::is_empty(locked));
}
