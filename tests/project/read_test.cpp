// What the data cases cannot show: reads in small pieces, reads failing part way, the pointer and the
// message box around a read, and a read following another. The rules of the lines themselves are cases
// under tests/data/projects.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/memory_tree_view.h"
#include "project/mdl_file.h"
#include "tests/fakes/memory_text_files.h"
#include "tests/fakes/recording_ui.h"

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

struct PieceCase {
  std::size_t chunk;
  std::string form;
  int32_t kind;
  std::string name;
};

TEST_F(Reader, FormFilesReadInAnyPiecesGiveTheSameKindAndName) {
  const std::string tricky = "   Begin VB.Form Inner\r\nBegin VB.MDIForm M\r\n  Attribute VB_Name   =  \"Split\"  \r\n"
                             "attribute vb_nameX = \"No\"\r\nAttribute VB_Nam = \"No\"\r\n";
  const std::string huge(3 * 1024 * 1024, 'x');
  const std::string hugeForm = "Begin " + huge + "\r\nBegin VB.Form F\r\n" + huge + " = 1\r\nAttribute VB_Name = \"" +
                               std::string(100000, 'n') + "\"\r\n" + std::string(70000, ' ') + "=y\r\n";
  for (const PieceCase& c : std::vector<PieceCase>{{1, tricky, 2, "Split"},
                                                   {7, tricky, 2, "Split"},
                                                   {1 << 20, tricky, 2, "Split"},
                                                   {4096, hugeForm, 1, std::string(100000, 'n')},
                                                   {1, "Begin VB.Form F\r", 1, ""},
                                                   {2, "Attribute VB_Name = \"A\"\r\n\r\n", 0, "A"}}) {
    files.SetChunk(c.chunk);
    files.Put("C:\\P\\F.frm", c.form);
    ASSERT_TRUE(Read("Module=A; a.bas\r\n\r\nForm=F.frm\r\n")) << c.chunk;
    ASSERT_EQ(Model().count, 2);
    EXPECT_EQ(Model().components[1].kind, c.kind) << c.chunk;
    EXPECT_EQ(Model().components[1].name, c.name) << c.chunk;
  }
}

TEST_F(Reader, SuccessRebuildsTheTreeEnablesSaveAsAndClosesEveryFile) {
  files.Put("C:\\P\\F.frm", "Begin VB.Form F\r\nAttribute VB_Name = \"F\"\r\n");
  ASSERT_TRUE(Read("Name=P\r\nForm=F.frm\r\nModule=M; M.bas\r\n"));
  EXPECT_TRUE(saveAs.enabled);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(pointer.history, (std::vector<int32_t>{platform::vbHourglass, platform::vbDefault}));
  EXPECT_EQ(files.OpenCount(), 0);
  EXPECT_EQ(std::count(files.Opened().begin(), files.Opened().end(), "C:\\P\\M.bas"), 0) << "modules are not opened";
  EXPECT_EQ(tree.Find("p0")->text, "P");
}

TEST_F(Reader, EveryFailureShowsOneErrorAfterThePointerIsRestoredAndDisablesSaveAs) {
  struct Failure {
    const char* what;
    void (*arrange)(fakes::MemoryTextFiles&);
  };
  const std::vector<Failure> failures{
      {"missing project", [](fakes::MemoryTextFiles& f) { f.FailOpen(kProject); }},
      {"project fails part way", [](fakes::MemoryTextFiles& f) { f.FailReadAfter(kProject, 5); }},
      {"form fails part way", [](fakes::MemoryTextFiles& f) { f.FailReadAfter("C:\\P\\F.frm", 3); }},
      {"form cannot be opened", [](fakes::MemoryTextFiles& f) { f.FailOpen("C:\\P\\F.frm"); }}};
  for (const Failure& failure : failures) {
    files = fakes::MemoryTextFiles();
    files.Put("C:\\P\\F.frm", "Begin VB.Form F\r\nAttribute VB_Name = \"F\"\r\n");
    failure.arrange(files);
    messages.shown.clear();
    pointer.history.clear();
    saveAs.enabled = true;
    EXPECT_FALSE(Read("Module=M; M.bas\r\nForm=F.frm\r\n")) << failure.what;
    EXPECT_FALSE(saveAs.enabled) << failure.what;
    ASSERT_EQ(messages.shown.size(), 1u) << failure.what;
    EXPECT_EQ(messages.shown[0].text, "Error.");
    EXPECT_EQ(messages.shown[0].style, platform::MB_OK | platform::MB_ICONERROR);
    EXPECT_EQ(messages.shown[0].caption, "Tarvex");
    EXPECT_EQ(messages.shown[0].pointerWhenShown, platform::vbDefault) << failure.what;
    EXPECT_EQ(files.OpenCount(), 0) << failure.what;
    EXPECT_EQ(Model().count, static_cast<int32_t>(Model().components.size())) << failure.what;
  }
}

TEST_F(Reader, AFailedReadKeepsTheOldTreeAndASuccessfulOneReplacesEverything) {
  files.Put("C:\\P\\F.frm", "Begin VB.Form F\r\nAttribute VB_Name = \"F\"\r\n");
  ASSERT_TRUE(Read("Name=Old\r\nType=Exe\r\nForm=F.frm\r\nClass=C; c.cls\r\n"));
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
