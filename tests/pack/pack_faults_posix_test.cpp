// Faults of a real file system around reading and packing: a full file system, special files as
// components, a project file that vanishes, and links as the target folder and as destinations.
// After each, every source file is byte for byte what it was.
#include <gtest/gtest.h>

#include "tests/fakes/folder_snapshot.h"
#include "tests/fakes/scratch_folder_posix.h"
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "pack/mdl_file_pack.h"
#include "cli/memory_tree_view.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_text_files.h"
#include "project/mdl_file.h"
#include "tests/fakes/recording_ui.h"

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> Snapshot(const fs::path& folder) { return fakes::FolderSnapshot(folder); }

class DiskFaults : public fakes::ScratchFolderTest {
 protected:
  void SetUp() override {
    MakeRoot("tarvex-faults-");
    fs::create_directories(root / "src" / "lib");
    fs::create_directories(root / "out");
    Write("src/Demo.vbp",
          "Type=Exe\r\nForm=Main.frm\r\nModule=Tools; lib\\Tools.bas\r\nClass=Item; "
          "Item.cls\r\nMajorVer=1\r\n");
    Write("src/Main.frm", "VERSION 5.00\r\nBegin VB.Form Main\r\nAttribute VB_Name = \"Main\"\r\n");
    Write("src/Main.frx", std::string("\0\1\2frx", 6));
    Write("src/lib/Tools.bas", "Attribute VB_Name = \"Tools\"\r\n");
    Write("src/Item.cls", "item");
  }
  void TearDown() override {
    if (mounted) ::umount2((root / "out").c_str(), MNT_DETACH);
    fs::remove_all(root);
  }


  // Reads the project through the real file system, as "&Open..." does.
  bool ReadProject(const std::string& project = "src\\Demo.vbp") {
    posix::PosixTextFiles files(*codePage);
    const mdlFile::ReaderContext context{files, pointer, messages, tree, saveAs};
    return mdlFile::ReadProject(Win(project), context);
  }
  bool Pack(const std::string& target = "out\\Demo.vbp") {
    posix::PosixPackFiles files(*codePage);
    const mdlFile::PackContext context{files, pointer, messages,
                                       [this](const mdlFile::PackFailure& f) { failures.push_back(f); }};
    return mdlFile::PackProject(mdlFile::Model(), Win(target), context);
  }
  // The read, then the sources as they were before the pack.
  void ReadAndKeep() {
    ASSERT_TRUE(ReadProject());
    ASSERT_EQ(mdlFile::Model().count, 3);
    messages.shown.clear();
    source = Snapshot(root / "src");
  }

  // A small file system of its own as the target folder; false where mounting is not allowed.
  bool MountSmallFileSystem(const std::string& size) {
    const std::string options = "size=" + size + ",mode=0777";
    mounted = ::mount("tarvex-test", (root / "out").c_str(), "tmpfs", 0, options.c_str()) == 0;
    return mounted;
  }

  bool mounted = false;
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages{&pointer};
  cli::MemoryTreeView tree;
  fakes::RecordingCommand saveAs;
  std::vector<mdlFile::PackFailure> failures;
  std::map<std::string, std::string> source;
};

TEST_F(DiskFaults, FullFileSystemFailsTheCopyKeepsTheOldFileAndLeavesNoTemporaryFile) {
  Write("src/Item.cls", std::string(512 * 1024, 'x'));
  ReadAndKeep();
  if (!MountSmallFileSystem("256k")) GTEST_SKIP() << "mounting a tmpfs is not allowed here";
  Write("out/Item.cls", "first pack");
  EXPECT_FALSE(Pack());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Error during save.");
  EXPECT_EQ(Read("out/Item.cls"), "first pack");
  // The other files fit and were copied; the failed copy left nothing behind.
  EXPECT_EQ(NamesIn("out"),
            (std::vector<std::string>{"Demo.vbp", "Item.cls", "Main.frm", "Main.frx", "Tools.bas"}));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].file, Win("out\\Item.cls"));
  EXPECT_EQ(failures[0].reason, posix::SystemReason(ENOSPC));
  EXPECT_EQ(Snapshot(root / "src"), source);
}

TEST_F(DiskFaults, FullFileSystemWhileWritingTheProjectFileIsAFailure) {
  std::string many = "Form=Main.frm\r\n";
  for (int i = 0; i < 8000; ++i) many += "Title=\"a line that is carried over\"\r\n";
  Write("src/Demo.vbp", many);
  ASSERT_TRUE(ReadProject());
  messages.shown.clear();
  source = Snapshot(root / "src");
  if (!MountSmallFileSystem("64k")) GTEST_SKIP() << "mounting a tmpfs is not allowed here";
  EXPECT_FALSE(Pack());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Error during save.");
  ASSERT_FALSE(failures.empty());
  EXPECT_EQ(failures.back().reason, posix::SystemReason(ENOSPC));
  EXPECT_EQ(Snapshot(root / "src"), source);
}

TEST_F(DiskFaults, FoldersAndFifosAsComponentsFailWithoutBlocking) {
  ::alarm(30);  // a read or copy that blocked would end the program here instead of hanging it
  fs::create_directory(root / "src/Folder.frm");
  ASSERT_EQ(::mkfifo((root / "src/Pipe.frm").c_str(), 0644), 0);
  for (const std::string form : {"Folder.frm", "Pipe.frm"}) {
    SCOPED_TRACE(form);
    Write("src/Special.vbp", "Form=Main.frm\r\nForm=" + form + "\r\n");
    messages.shown.clear();
    EXPECT_FALSE(ReadProject("src\\Special.vbp"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error.");
  }

  // Module files are not opened by the read, so the pack meets them; a companion that is a folder too.
  Write("src/Demo.vbp",
        "Form=Main.frm\r\nModule=F; Folder.bas\r\nModule=P; Pipe.bas\r\nClass=Item; Item.cls\r\n");
  fs::create_directory(root / "src/Folder.bas");
  ASSERT_EQ(::mkfifo((root / "src/Pipe.bas").c_str(), 0644), 0);
  fs::remove(root / "src/Main.frx");
  fs::create_directory(root / "src/Main.frx");
  ASSERT_TRUE(ReadProject());
  messages.shown.clear();
  source = Snapshot(root / "src");
  EXPECT_FALSE(Pack());
  ASSERT_EQ(failures.size(), 3u);
  EXPECT_EQ(failures[0].file, Win("src\\Main.frx"));
  EXPECT_EQ(failures[1].file, Win("src\\Folder.bas"));
  EXPECT_EQ(failures[2].file, Win("src\\Pipe.bas"));
  EXPECT_EQ(NamesIn("out"), (std::vector<std::string>{"Demo.vbp", "Item.cls", "Main.frm"}));
  EXPECT_EQ(Read("out/Demo.vbp"),
            "Form=Main.frm\r\nModule=F; Folder.bas\r\nModule=P; Pipe.bas\r\nClass=Item; Item.cls\r\n");
  EXPECT_EQ(Snapshot(root / "src"), source);
  ::alarm(0);
}

TEST_F(DiskFaults, ProjectFileThatVanishesAfterTheReadStillPacksItsComponents) {
  ReadAndKeep();
  source.erase("Demo.vbp");
  fs::remove(root / "src/Demo.vbp");
  EXPECT_FALSE(Pack());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Error during save.");
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].attempted, "open " + Win("src\\Demo.vbp") + " for reading");
  // The lines come from the model; only the carried-over lines are missing.
  EXPECT_EQ(Read("out/Demo.vbp"), "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nClass=Item; Item.cls\r\n");
  EXPECT_EQ(Read("out/Main.frx"), source["Main.frx"]);
  EXPECT_EQ(Snapshot(root / "src"), source);

  // A folder in its place is no project file either.
  fs::create_directory(root / "src/Demo.vbp");
  failures.clear();
  EXPECT_FALSE(Pack("out\\Again.vbp"));
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].file, Win("src\\Demo.vbp"));
  EXPECT_EQ(Snapshot(root / "src"), source);
}

TEST_F(DiskFaults, TargetFolderThatIsALinkIsPackedInto) {
  ReadAndKeep();
  fs::create_directory_symlink(root / "out", root / "linked-out");
  EXPECT_TRUE(Pack("linked-out\\Demo.vbp"));
  EXPECT_TRUE(fs::is_symlink(root / "linked-out"));
  EXPECT_EQ(NamesIn("out"),
            (std::vector<std::string>{"Demo.vbp", "Item.cls", "Main.frm", "Main.frx", "Tools.bas"}));
  EXPECT_EQ(Read("out/Main.frm"), source["Main.frm"]);
  EXPECT_EQ(Snapshot(root / "src"), source);

  // A link to the source folder: packing there copies nothing onto the sources.
  fs::create_directory_symlink(root / "src", root / "linked-src");
  EXPECT_FALSE(Pack("linked-src\\Packed.vbp"));
  auto after = Snapshot(root / "src");
  EXPECT_EQ(after["Tools.bas"], source["lib/Tools.bas"]);  // the one real copy, from lib
  after.erase("Tools.bas");
  after.erase("Packed.vbp");
  EXPECT_EQ(after, source);
}

TEST_F(DiskFaults, DestinationsThatAreLinksIntoTheSourceAreReplacedNotWrittenThrough) {
  ReadAndKeep();
  fs::create_symlink(root / "src/Item.cls", root / "out/Main.frm");
  fs::create_symlink(root / "src/Main.frx", root / "out/Main.frx");
  fs::create_symlink(root / "src/lib/Tools.bas", root / "out/Item.cls");
  fs::create_symlink(root / "src/Demo.vbp", root / "out/Demo.vbp");
  EXPECT_TRUE(Pack()) << (failures.empty() ? "" : failures[0].attempted + ": " + failures[0].reason);
  for (const std::string name : {"Main.frm", "Main.frx", "Item.cls", "Demo.vbp"}) {
    EXPECT_FALSE(fs::is_symlink(root / "out" / name)) << name;
  }
  EXPECT_EQ(Read("out/Main.frm"), source["Main.frm"]);
  EXPECT_EQ(Read("out/Item.cls"), source["Item.cls"]);
  EXPECT_EQ(Read("out/Demo.vbp"),
            "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nClass=Item; Item.cls\r\nType=Exe\r\nMajorVer=1\r\n");
  EXPECT_EQ(Snapshot(root / "src"), source);
}

TEST_F(DiskFaults, ReadOnlyTargetFolderReachedThroughALinkTakesNothing) {
  ReadAndKeep();
  fs::create_directory_symlink(root / "out", root / "linked-out");
  fs::permissions(root / "out", fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(Pack("linked-out\\Demo.vbp"));
  fs::permissions(root / "out", fs::perms::owner_all);
  EXPECT_TRUE(NamesIn("out").empty());
  EXPECT_EQ(failures.size(), 5u);  // the project file, three components, the .frx
  EXPECT_EQ(Snapshot(root / "src"), source);
}

}  // namespace
