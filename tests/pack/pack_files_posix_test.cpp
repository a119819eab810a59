#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/fakes/folder_snapshot.h"
#include "tests/fakes/scratch_folder_posix.h"
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "pack/mdl_file_pack.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/pack_files_posix.h"
#include "tests/fakes/recording_ui.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;

namespace {

std::map<std::string, std::string> Snapshot(const fs::path& folder) { return fakes::FolderSnapshot(folder); }

class PackOnDisk : public fakes::ScratchFolderTest {
 protected:
  void SetUp() override {
    MakeRoot("tarvex-pack-");
    fs::create_directories(root / "src" / "lib");
    fs::create_directories(root / "out");
    Write("src/Demo.vbp",
          "Type=Exe\r\nForm=Main.frm\r\nModule=Tools; lib\\Tools.bas\r\nClass=Item; "
          "Item.cls\r\nMajorVer=1\r\n");
    Write("src/Main.frm", "VERSION 5.00\r\nBegin VB.Form Main\r\n");
    Write("src/Main.frx", std::string("\0\1\2frx", 6));
    Write("src/lib/Tools.bas", "Attribute VB_Name = \"Tools\"\r\n");
    Write("src/Item.cls", "item");
    model.filePath = Win("src\\Demo.vbp");
    model.components = {{mdlFile::kindForm, "Main", "Main.frm"},
                        {mdlFile::kindModule, "Tools", "lib\\Tools.bas"},
                        {mdlFile::kindClass, "Item", "Item.cls"}};
    model.count = 3;
    source = Snapshot(root / "src");
  }
  void TearDown() override {
    // Read-only folders left by a test must be writable again to be removed.
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (entry.is_directory() && !entry.is_symlink()) fs::permissions(entry.path(), fs::perms::owner_all);
    }
    fs::remove_all(root);
  }

  bool Pack(const std::string& target = "out\\Demo.vbp") {
    posix::PosixPackFiles files(*codePage);
    const mdlFile::PackContext context{files, pointer, messages,
                                       [this](const mdlFile::PackFailure& f) { failures.push_back(f); }};
    return mdlFile::PackProject(model, Win(target), context);
  }

  mdlFile::ProjectModel model;
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages{&pointer};
  std::vector<mdlFile::PackFailure> failures;
  std::map<std::string, std::string> source;
};

TEST_F(PackOnDisk, PacksEveryFileBesideTheNewProjectFile) {
  EXPECT_TRUE(Pack()) << (failures.empty() ? "" : failures[0].attempted + ": " + failures[0].reason);
  EXPECT_EQ(Read("out/Demo.vbp"),
            "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nClass=Item; Item.cls\r\nType=Exe\r\nMajorVer=1\r\n");
  EXPECT_THAT(NamesIn("out"), ElementsAre("Demo.vbp", "Item.cls", "Main.frm", "Main.frx", "Tools.bas"));
  EXPECT_EQ(Read("out/Main.frx"), source["Main.frx"]);
  EXPECT_EQ(Read("out/Tools.bas"), source["lib/Tools.bas"]);
  EXPECT_EQ(Snapshot(root / "src"), source);
}

TEST_F(PackOnDisk, LargeFileIsCopiedWhole) {
  std::string big(5 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 2654435761u) >> 13);
  Write("src/Item.cls", big);
  EXPECT_TRUE(Pack());
  EXPECT_EQ(Read("out/Item.cls"), big);
}

TEST_F(PackOnDisk, ReadOnlyTargetFolderTakesNothing) {
  fs::permissions(root / "out", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  EXPECT_FALSE(Pack());
  EXPECT_EQ(messages.shown.at(0).text, "Error during save.");
  EXPECT_TRUE(NamesIn("out").empty());
  EXPECT_EQ(Snapshot(root / "src"), source);
}

TEST_F(PackOnDisk, ReadOnlyFileInTheTargetFolderIsLeftAsItWas) {
  Write("out/Item.cls", "mine");
  fs::permissions(root / "out/Item.cls",
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Read("out/Item.cls"), "mine");
  EXPECT_EQ(fs::status(root / "out/Item.cls").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(Read("out/Main.frm"), source["Main.frm"]);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].file, Win("out\\Item.cls"));
  EXPECT_THAT(NamesIn("out"), ElementsAre("Demo.vbp", "Item.cls", "Main.frm", "Main.frx", "Tools.bas"));
}

TEST_F(PackOnDisk, ReadOnlyTargetProjectFileIsNotEmptied) {
  Write("out/Demo.vbp", "old project");
  fs::permissions(root / "out/Demo.vbp", fs::perms::owner_read);
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Read("out/Demo.vbp"), "old project");
}

TEST_F(PackOnDisk, TargetThatIsTheSourceIsLeftUntouched) {
  fs::create_hard_link(root / "src/Demo.vbp", root / "out/Linked.vbp");
  for (const std::string target : {"src\\Demo.vbp", "SRC\\lib\\..\\demo.VBP", "out\\Linked.vbp"}) {
    SCOPED_TRACE(target);
    EXPECT_FALSE(Pack(target));
    auto after = Snapshot(root / "src");
    after.erase("Tools.bas");  // from lib, a real copy when packing into the source folder
    EXPECT_EQ(after, source);
  }
  EXPECT_EQ(Read("out/Linked.vbp"), source["Demo.vbp"]);
}

TEST_F(PackOnDisk, PackingIntoTheSourceFolderLosesNothing) {
  model.components.push_back({mdlFile::kindModule, "X", "lib\\..\\Demo.vbp"});  // the project file itself
  model.count = 4;
  EXPECT_FALSE(Pack("src\\Packed.vbp"));
  auto after = Snapshot(root / "src");
  EXPECT_EQ(after["Tools.bas"], source["lib/Tools.bas"]);  // the one real copy
  after.erase("Tools.bas");
  after.erase("Packed.vbp");
  EXPECT_EQ(after, source);
  EXPECT_THAT(NamesIn("src"),
              ElementsAre("Demo.vbp", "Item.cls", "Main.frm", "Main.frx", "Packed.vbp", "Tools.bas", "lib"));
}

TEST_F(PackOnDisk, FifosNeverBlock) {
  ::alarm(30);  // a pack that blocked would end the test program here instead of hanging it
  ASSERT_EQ(::mkfifo((root / "src/Pipe.bas").c_str(), 0644), 0);
  fs::remove(root / "src/Main.frx");
  ASSERT_EQ(::mkfifo((root / "src/Main.frx").c_str(), 0644), 0);
  ASSERT_EQ(::mkfifo((root / "out/Item.cls").c_str(), 0644), 0);
  model.components.push_back({mdlFile::kindModule, "P", "Pipe.bas"});
  model.count = 4;
  EXPECT_FALSE(Pack());
  ASSERT_EQ(failures.size(), 3u);
  EXPECT_EQ(failures[0].attempted, "copy " + Win("src\\Main.frx") + " to " + Win("out\\Main.frx"));
  EXPECT_EQ(failures[1].file, Win("out\\Item.cls"));
  EXPECT_EQ(failures[2].file, Win("src\\Pipe.bas"));
  EXPECT_TRUE(fs::is_fifo(root / "out/Item.cls"));
  // A FIFO as the project file to write fails as well.
  failures.clear();
  EXPECT_FALSE(Pack("out\\Item.cls"));
  EXPECT_EQ(failures.at(0).attempted, "create " + Win("out\\Item.cls"));
  ::alarm(0);
}

TEST_F(PackOnDisk, FullDiskFailsTheCopyAndKeepsTheOldFile) {
  Write("src/Item.cls", std::string(512 * 1024, 'x'));
  Write("out/Item.cls", "first pack");
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 64 * 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = Pack();
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, previous);
  EXPECT_FALSE(saved);
  EXPECT_EQ(Read("out/Item.cls"), "first pack");
  EXPECT_THAT(NamesIn("out"), ElementsAre("Demo.vbp", "Item.cls", "Main.frm", "Main.frx", "Tools.bas"));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].file, Win("out\\Item.cls"));
  EXPECT_EQ(failures[0].reason, posix::SystemReason(EFBIG));
}

TEST_F(PackOnDisk, FullDiskWhileWritingTheProjectFileIsAFailure) {
  std::string many;
  for (int i = 0; i < 4000; ++i) many += "Title=\"a line that is carried over\"\r\n";
  Write("src/Demo.vbp", many);
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 16 * 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool saved = Pack();
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, previous);
  EXPECT_FALSE(saved);
  EXPECT_EQ(messages.shown.at(0).text, "Error during save.");
  EXPECT_LE(fs::file_size(root / "out/Demo.vbp"), 16u * 1024);
}

TEST_F(PackOnDisk, NameMatchingWithoutRegardToCaseIsTheFileReplaced) {
  Write("out/MAIN.FRM", "old");
  EXPECT_TRUE(Pack());
  EXPECT_EQ(Read("out/MAIN.FRM"), source["Main.frm"]);
  EXPECT_THAT(NamesIn("out"), ElementsAre("Demo.vbp", "Item.cls", "MAIN.FRM", "Main.frx", "Tools.bas"));
}

TEST_F(PackOnDisk, LinksInTheTargetFolderAreReplacedNotWrittenThrough) {
  Write("elsewhere.txt", "keep me");
  fs::create_symlink(root / "elsewhere.txt", root / "out/Item.cls");
  fs::create_hard_link(root / "src/Item.cls", root / "out/Main.frm");
  EXPECT_TRUE(Pack());
  EXPECT_EQ(Read("elsewhere.txt"), "keep me");
  EXPECT_FALSE(fs::is_symlink(root / "out/Item.cls"));
  EXPECT_EQ(Read("out/Item.cls"), "item");
  EXPECT_EQ(Read("out/Main.frm"), source["Main.frm"]);
  EXPECT_EQ(Snapshot(root / "src"), source);
}

TEST_F(PackOnDisk, TwoFilesUnderOneNameFailTheSaveButOneFileReachedTwiceDoesNot) {
  fs::create_directories(root / "src/other");
  Write("src/other/TOOLS.bas", "other tools");
  model.components.push_back({mdlFile::kindModule, "Again", "LIB\\tools.BAS"});
  model.count = 4;
  EXPECT_TRUE(Pack());
  model.components.push_back({mdlFile::kindModule, "Other", "other\\TOOLS.bas"});
  model.count = 5;
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Read("out/Tools.bas"), "other tools");
  EXPECT_EQ(failures.size(), 1u);
}

TEST_F(PackOnDisk, MissingTargetFolderFailsEverything) {
  EXPECT_FALSE(Pack("missing\\Demo.vbp"));
  EXPECT_FALSE(fs::exists(root / "missing"));
  EXPECT_EQ(failures.size(), 5u);  // the project file, three components, the .frx
}

}  // namespace

namespace {

// A target project file that is a symbolic link is replaced by the new file; the file it pointed to,
// here a component of the source, is never emptied or written, also when the link dangles.
TEST_F(PackOnDisk, TargetProjectFileThatIsALinkIsReplacedNotWrittenThrough) {
  fs::create_symlink(root / "src/Main.frm", root / "out/Demo.vbp");
  EXPECT_TRUE(Pack()) << (failures.empty() ? "" : failures[0].attempted + ": " + failures[0].reason);
  EXPECT_FALSE(fs::is_symlink(root / "out/Demo.vbp"));
  EXPECT_EQ(Read("out/Demo.vbp"),
            "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nClass=Item; Item.cls\r\nType=Exe\r\nMajorVer=1\r\n");
  EXPECT_EQ(Snapshot(root / "src"), source);

  fs::create_symlink(root / "nowhere.vbp", root / "out/Dangling.vbp");
  EXPECT_TRUE(Pack("out\\Dangling.vbp"));
  EXPECT_FALSE(fs::exists(root / "nowhere.vbp"));
  EXPECT_FALSE(fs::is_symlink(root / "out/Dangling.vbp"));
  EXPECT_EQ(Snapshot(root / "src"), source);
}

}  // namespace
