// What the data cases cannot show: reads in small pieces, reads failing part way, the pointer and the
// message box around a read, and a read following another. The rules of the lines themselves are cases
// under tests/data/cli.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "cli/memory_tree_view.h"
#include "project/mdl_file.h"
#include "tests/fakes/memory_text_files.h"
#include "tests/fakes/recording_ui.h"
#include "tests/fakes/scripted_dialogs.h"
#include "tests/fakes/table_file.h"

namespace {

using mdlFile::Model;

const std::string kProject = "C:\\P\\P.vbp";

class Reader : public ::testing::Test {
 protected:
  bool Read(const std::string& project, const std::string& path = kProject) {
    files.Put(path, project);
    return mdlFile::ReadProject(path, context);
  }
  fakes::MemoryTextFiles files;
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages{&pointer};
  cli::MemoryTreeView tree;
  fakes::RecordingCommand saveAs;
  mdlFile::ReaderContext context{files, pointer, messages, tree, saveAs};
};

// A form is opened once for both its kind and its name, whatever the kind scan consumed before the name
// scan, and the answer is the one the separate reads give. The cases are tests/data/project/form_reads.txt.
TEST(FormFacts, KindAndNameFromOneOpeningInAnyPieces) {
  // Five fields, then the text, which may hold " | " itself.
  for (const fakes::Row& field : fakes::ReadTable("project/form_reads.txt", " | ", 6)) {
    SCOPED_TRACE(field[0]);
    fakes::MemoryTextFiles files;
    files.SetChunk(std::stoul(field[1]));
    files.Put("C:\\P\\F.frm", fakes::Unescaped(field[5]));
    mdlFile::ProjectModel model;
    model.filePath = kProject;
    mdlFile::AddComponent(model, files, "F.frm", mdlFile::kindForm);
    const mdlFile::Component& read = model.components.at(0);
    EXPECT_EQ(std::tie(read.kind, read.name, read.path),
              std::make_tuple(std::stoi(field[2]), fakes::Unescaped(field[3]), "F.frm"));
    EXPECT_EQ(files.opened.size(), std::stoul(field[4]));
    EXPECT_EQ(files.OpenCount(), 0);
    EXPECT_EQ(mdlFile::ReadFormKind(model, files, "F.frm"), read.kind);
    EXPECT_EQ(mdlFile::ReadComponentName(model, files, "F.frm"), read.name);
  }
}

TEST_F(Reader, EveryFailureShowsOneErrorAfterThePointerIsRestoredAndDisablesSaveAs) {
  struct Failure {
    const char* what;
    fakes::InjectingPackFiles::Fault fault;
    bool bigForm = false;  // one that fails past the bytes its kind scan kept
  };
  const std::vector<Failure> failures{
      {"missing project", {"open", kProject, 0}},
      {"project fails part way", {"read", kProject, 5}},
      {"form fails part way", {"read", "C:\\P\\F.frm", 3}},
      {"form cannot be opened", {"open", "C:\\P\\F.frm", 0}},
      {"form fails past its kind scan", {"read", "C:\\P\\F.frm", 200 * 1024}, true}};
  for (const Failure& failure : failures) {
    SCOPED_TRACE(failure.what);
    files.faults = {failure.fault};
    files.SetChunk(failure.bigForm ? 64 * 1024 : std::size_t(-1));
    files.Put("C:\\P\\F.frm", failure.bigForm ? "Begin VB.Form F\r\n" + std::string(400 * 1024, 'x')
                                              : "Begin VB.Form F\r\nAttribute VB_Name = \"F\"\r\n");
    messages.shown.clear();
    saveAs.enabled = true;
    EXPECT_FALSE(Read("Module=M; M.bas\r\nForm=F.frm\r\n"));
    EXPECT_FALSE(saveAs.enabled);
    EXPECT_EQ(messages.Only(), messages.Said("Error.", platform::MB_OK | platform::MB_ICONERROR));
    EXPECT_EQ(files.OpenCount(), 0);
    EXPECT_EQ(Model().count, static_cast<int32_t>(Model().components.size()));
  }
}

TEST_F(Reader, ASuccessReplacesEverythingAndAFailureKeepsTheOldTree) {
  files.SetChunk(3);  // line ends fall across reads
  files.Put("C:\\P\\F.frm", "Begin VB.Form F\r\nAttribute VB_Name = \"F\"\r\n");
  ASSERT_TRUE(Read("Name=Old\r\nType=Exe\r\nForm=F.frm\r\nClass=C; c.cls\r\nModule=M; M.bas\r\n"));
  EXPECT_TRUE(saveAs.enabled);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(pointer.history, (std::vector<int32_t>{platform::vbHourglass, platform::vbDefault}));
  EXPECT_EQ(files.OpenCount(), 0);
  EXPECT_EQ(std::ranges::count(files.opened, "C:\\P\\M.bas"), 0) << "modules are not opened";
  EXPECT_FALSE(Read("Name=New\r\nForm=Gone.frm\r\n", "D:\\Other.vbp"));
  EXPECT_EQ(tree.Find("p0")->text, "Old");
  EXPECT_EQ(Model().filePath, "D:\\Other.vbp");
  EXPECT_EQ(Model().name, "New");
  ASSERT_TRUE(Read("Module=Z; z.bas\r\n"));
  EXPECT_EQ(Model().name, "");
  EXPECT_EQ(Model().type, 0);
  EXPECT_EQ(Model().count, 1);
  EXPECT_EQ(tree.Find("r1"), nullptr);
  EXPECT_EQ(tree.Count(), 3);
}

}  // namespace
