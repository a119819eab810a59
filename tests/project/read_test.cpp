// What the data cases cannot show: reads in small pieces, reads failing part way, the pointer and the
// message box around a read, and a read following another. The rules of the lines themselves are cases
// under tests/data/projects.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

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

// Fills a form with lines that are neither its kind nor its name.
std::string Filler(std::size_t bytes) {
  std::string text;
  while (text.size() < bytes) text += "  Caption = \"some text that is no name line at all\"\r\n";
  return text;
}

struct FormCase {
  const char* what;
  std::string content;
  std::size_t chunk;  // bytes per read
  int32_t kind;
  std::string name;
  std::size_t opens = 1;
};

// A form is opened once for both its kind and its name, whatever the kind scan consumed before the name
// scan, and the answer is the one the separate reads give.
TEST(FormFacts, KindAndNameFromOneOpeningInAnyPieces) {
  const std::string tricky = "   Begin VB.Form Inner\r\nBegin VB.MDIForm M\r\n  Attribute VB_Name   =  \"Split\"  \r\n"
                             "attribute vb_nameX = \"No\"\r\nAttribute VB_Nam = \"No\"\r\n";
  const std::string huge(3 * 1024 * 1024, 'x');
  const std::string longName(100000, 'n');
  using namespace mdlFile;
  const FormCase cases[] = {
      {"tricky lines byte by byte", tricky, 1, kindMdiForm, "Split"},
      {"tricky lines in sevens", tricky, 7, kindMdiForm, "Split"},
      {"tricky lines whole", tricky, 1 << 20, kindMdiForm, "Split"},
      {"huge lines", "Begin " + huge + "\r\nBegin VB.Form F\r\n" + huge + " = 1\r\nAttribute VB_Name = \"" + longName +
                         "\"\r\n" + std::string(70000, ' ') + "=y\r\n",
       4096, kindForm, longName, 2},
      {"a CR ending the file", "Begin VB.Form F\r", 1, kindForm, ""},
      {"a name and a blank line", "Attribute VB_Name = \"A\"\r\n\r\n", 2, kindUndetermined, "A"},
      {"a form", "VERSION 5.00\r\nBegin VB.Form Main\r\nEnd\r\nAttribute VB_Name = \"Main\"\r\n", 1 << 20, kindForm,
       "Main"},
      {"an MDI form in small reads", "VERSION 5.00\r\nBegin VB.MDIForm Top\r\nEnd\r\nAttribute VB_Name = \"Top\"\r\n", 3,
       kindMdiForm, "Top"},
      {"a name line before the kind, the last one winning",
       "Attribute VB_Name = \"First\"\r\nBegin VB.Form F\r\n" + Filler(300 * 1024) + "Attribute VB_Name = \"Last\"\r\n",
       1 << 20, kindForm, "Last"},
      {"a name line split where the kind scan stopped",
       "Begin VB.Form F\r\n" + Filler(4000) + "Attribute VB_Name = \"Across\"\r\n", 4096, kindForm, "Across"},
      {"the kind past the first megabyte reads the file again",
       "Attribute VB_Name = \"Deep\"\r\n" + Filler(1500 * 1024) + "Begin VB.Form Deep\r\n", 1 << 16, kindForm, "Deep", 2},
      {"no kind at all", "Attribute VB_Name = \"Plain\"\r\n" + Filler(10 * 1024), 1 << 20, kindUndetermined, "Plain"},
      {"an empty file", "", 1 << 20, kindUndetermined, ""},
      {"near misses after the last name line, in single bytes",
       "Attribute VB_Name = \"A1\"\r  attribute vb_name=B2  \n  Attribute VB_Name = a = b\r\nAttribute  VB_Name = \"no\"\r"
       "XAttribute VB_Name = \"no\"\nAttribute VB_Namex = \"no\"\r\nAttribute VB_Name\r\nAttribute VB_Name\t= \"tab\"\r"
       "vb_name = x\nSub a_Change()\r\n_\rvb_",
       1, kindUndetermined, "a = b"},
      {"quotes dropped wherever they are, in fives",
       "Attribute VB_Name = \"A1\"\r\n" + std::string(70000, 'v') + "\rATTRIBUTE VB_NAME   =   \"C\"3\"\nx = vb_n_n\r\n", 5,
       kindUndetermined, "C3"},
      {"an empty name last", "Attribute VB_Name =\"e\"\nAttribute VB_Name = \r\n", 4096, kindUndetermined, ""},
  };
  std::vector<FormCase> all(std::begin(cases), std::end(cases));
  for (const std::size_t offset : {262144 - 30, 262144 - 12, 262144 - 1, 262144, 262144 + 1}) {
    all.push_back({"a name line straddling a block boundary",
                   std::string(offset, 'x') + "\r\nAttribute VB_Name = \"Edge\"\r\nrest\r\n", 1 << 20, kindUndetermined,
                   "Edge"});
  }
  for (const FormCase& c : all) {
    SCOPED_TRACE(c.what);
    fakes::MemoryTextFiles files;
    files.SetChunk(c.chunk);
    files.Put("C:\\P\\F.frm", c.content);
    ProjectModel model;
    model.filePath = kProject;
    AddComponent(model, files, "F.frm", kindForm);
    ASSERT_EQ(model.components.size(), 1u);
    EXPECT_EQ(model.components[0].kind, c.kind);
    EXPECT_EQ(model.components[0].name, c.name);
    EXPECT_EQ(model.components[0].path, "F.frm");
    EXPECT_EQ(files.Opened().size(), c.opens);
    EXPECT_EQ(files.OpenCount(), 0);
    EXPECT_EQ(ReadFormKind(model, files, "F.frm"), c.kind);
    EXPECT_EQ(ReadComponentName(model, files, "F.frm"), c.name);
  }
}

TEST_F(Reader, SuccessRebuildsTheTreeEnablesSaveAsAndClosesEveryFile) {
  files.SetChunk(3);  // line ends fall across reads
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
      {"form cannot be opened", [](fakes::MemoryTextFiles& f) { f.FailOpen("C:\\P\\F.frm"); }},
      {"form fails past the bytes kept from its kind scan", [](fakes::MemoryTextFiles& f) {
         f.SetChunk(64 * 1024);
         f.Put("C:\\P\\F.frm", "Begin VB.Form F\r\n" + Filler(400 * 1024));
         f.FailReadAfter("C:\\P\\F.frm", 200 * 1024);
       }}};
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
