#include <gtest/gtest.h>

#include "cli/memory_tree_view.h"
#include "project/mdl_file.h"
#include "tests/fakes/memory_text_files.h"
#include "tests/fakes/recording_ui.h"

namespace {

using mdlFile::Model;

const std::string kProject = "C:\\Work\\Demo\\Demo.vbp";
const std::string kFolder = "C:\\Work\\Demo\\";

std::string Crlf(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* line : lines) out += std::string(line) + "\r\n";
  return out;
}

std::string FormFile(const char* klass, const char* name) {
  return "VERSION 5.00\r\nBegin " + std::string(klass) + " " + name + "\r\n   Begin VB.CommandButton cmd\r\n   End\r\nEnd\r\n" +
         "Attribute VB_Name = \"" + name + "\"\r\n";
}

class Reader : public ::testing::Test {
 protected:
  bool Read(const std::string& project) {
    files.Put(kProject, project);
    return mdlFile::ReadProject(kProject, context);
  }

  fakes::MemoryTextFiles files;
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages{&pointer};
  cli::MemoryTreeView tree;
  fakes::RecordingCommand saveAs;
  mdlFile::ReaderContext context{files, pointer, messages, tree, saveAs};
};

TEST_F(Reader, TypeLinesAreMatchedOnLowerCaseKeyAndValueWithoutTrimming) {
  ASSERT_TRUE(Read(Crlf({"TYPE=OLEDLL"})));
  EXPECT_EQ(Model().type, 3);
  ASSERT_TRUE(Read(Crlf({"Type=Control"})));
  EXPECT_EQ(Model().type, 4);
  ASSERT_TRUE(Read(Crlf({"Type=OleExe", "Type = Exe", "Type=Exe ", "Type=Unknown"})));
  EXPECT_EQ(Model().type, 2) << "unrecognised lines leave the type as it was";
  ASSERT_TRUE(Read(Crlf({"[Section]", "no equals sign", ""})));
  EXPECT_EQ(Model().type, 0);
}

TEST_F(Reader, NameLosesEveryQuoteAndTheLastNameWins) {
  ASSERT_TRUE(Read(Crlf({"Name=\"First\"", "Name=\"Sample Project\""})));
  EXPECT_EQ(Model().name, "Sample Project");
  ASSERT_TRUE(Read(Crlf({"Name=A\"B\"C"})));
  EXPECT_EQ(Model().name, "ABC");
  ASSERT_TRUE(Read(Crlf({"Name=x=y"})));
  EXPECT_EQ(Model().name, "x=y") << "the value is everything after the first =";
}

TEST_F(Reader, FormKindAndNameComeFromTheFormFile) {
  files.Put(kFolder + "Form1.frm", FormFile("VB.Form", "Form1"));
  files.Put(kFolder + "MDIForm1.frm", FormFile("VB.MDIForm", "MDIForm1"));
  files.Put(kFolder + "Bare.frm", "Begin VB.Form\r\nAttribute VB_Name = \"Bare\"\r\n");
  files.Put(kFolder + "Other.frm", "begin  vb.form x\r\n   Begin VB.Form Inner\r\nAttribute  VB_Name = \"No\"\r\n");
  files.Put(kFolder + "Case.frm", "BEGIN vb.FORM Form9\r\nattribute vb_name=Case9\r\n");
  ASSERT_TRUE(Read(Crlf({"Form=Form1.frm", "Form=MDIForm1.frm", "Form=Bare.frm", "Form=Other.frm", "Form=Case.frm"})));
  const auto& c = Model().components;
  ASSERT_EQ(Model().count, 5);
  EXPECT_EQ(c[0].kind, 1);
  EXPECT_EQ(c[0].name, "Form1");
  EXPECT_EQ(c[0].path, "Form1.frm");
  EXPECT_EQ(c[1].kind, 2);
  EXPECT_EQ(c[1].name, "MDIForm1");
  EXPECT_EQ(c[2].kind, 1) << "a begin line with nothing after the class still counts";
  EXPECT_EQ(c[2].name, "Bare");
  EXPECT_EQ(c[3].kind, 0) << "two blanks after begin, and an indented begin, name no form";
  EXPECT_EQ(c[3].name, "") << "two blanks inside the attribute key do not match";
  EXPECT_EQ(c[4].kind, 1);
  EXPECT_EQ(c[4].name, "Case9");
}

TEST_F(Reader, TheLastAttributeLineWinsAndOnlyAnExactKeyMatches) {
  files.Put(kFolder + "U.ctl",
            "Attribute VB_Name = \"One\"\r\n  Attribute VB_Name   =   \"Two\"  \r\nXAttribute VB_Name = \"Three\"\r\n");
  ASSERT_TRUE(Read(Crlf({"UserControl=U.ctl"})));
  EXPECT_EQ(Model().components[0].name, "Two");
  EXPECT_EQ(Model().components[0].kind, 5);
}

TEST_F(Reader, ModulesAndClassesAreCutAtTheirFirstSemicolonWithoutOpeningTheFile) {
  ASSERT_TRUE(Read(Crlf({"Module=Tools; Tools.bas", "Class=Lister;  ..\\Shared\\Lister.cls", "Module=Tools.bas",
                         "Class= A ; b;c "})));
  const auto& c = Model().components;
  ASSERT_EQ(Model().count, 4);
  EXPECT_EQ(c[0].kind, 3);
  EXPECT_EQ(c[0].name, "Tools");
  EXPECT_EQ(c[0].path, "Tools.bas");
  EXPECT_EQ(c[1].kind, 4);
  EXPECT_EQ(c[1].path, "..\\Shared\\Lister.cls");
  EXPECT_EQ(c[2].kind, 0) << "no semicolon: a component of no kind";
  EXPECT_EQ(c[2].name, "");
  EXPECT_EQ(c[2].path, "");
  EXPECT_EQ(c[3].name, "A");
  EXPECT_EQ(c[3].path, "b;c");
  EXPECT_EQ(files.Opened().size(), 1u) << "only the project file was opened";
}

TEST_F(Reader, ComponentFilesAreLookedUpBesideTheProjectAsWritten) {
  files.Put(kFolder + " Form1.frm", FormFile("VB.Form", "Spaced"));
  files.Put(kFolder + "..\\Lib\\P.pag", "Attribute VB_Name = \"Page\"\r\n");
  ASSERT_TRUE(Read(Crlf({"Form= Form1.frm", "PropertyPage=..\\Lib\\P.pag"})));
  EXPECT_EQ(Model().components[0].name, "Spaced");
  EXPECT_EQ(Model().components[0].path, " Form1.frm");
  EXPECT_EQ(Model().components[1].name, "Page");
}

TEST_F(Reader, AProjectFileWithoutAFolderFindsItsComponentsFromTheWholePath) {
  files.Put("Demo.vbp", "Designer=D.dsr\r\n");
  files.Put("Demo.vbp\\D.dsr", "Attribute VB_Name = \"D\"\r\n");
  EXPECT_TRUE(mdlFile::ReadProject("Demo.vbp", context));
  EXPECT_EQ(Model().components[0].name, "D");
}

TEST_F(Reader, LinesEndAtCrAtCrLfAndAtLfAlone) {
  files.Put(kFolder + "F.frm", "Begin VB.Form F\nEnd\nAttribute VB_Name = \"F\"\n");
  ASSERT_TRUE(Read("Type=Exe\nForm=F.frm\rModule=M; M.bas\r\nName=\"LF\""));
  EXPECT_EQ(Model().type, 1);
  EXPECT_EQ(Model().name, "LF");
  ASSERT_EQ(Model().count, 2);
  EXPECT_EQ(Model().components[0].kind, 1);
  EXPECT_EQ(Model().components[0].name, "F");
  EXPECT_EQ(Model().components[1].name, "M");
}

TEST_F(Reader, LineEndsSplitAcrossReadsAreStillOneLineEnd) {
  files.SetChunk(1);
  ASSERT_TRUE(Read("Module=A; a.bas\r\n\r\nModule=B; b.bas\r\n"));
  EXPECT_EQ(Model().count, 2);
}

TEST_F(Reader, SuccessRebuildsTheTreeEnablesSaveAsAndShowsNothing) {
  files.Put(kFolder + "F.frm", FormFile("VB.Form", "F"));
  ASSERT_TRUE(Read(Crlf({"Name=P", "Form=F.frm"})));
  EXPECT_TRUE(saveAs.enabled);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(pointer.history, (std::vector<int32_t>{11, 0}));
  EXPECT_EQ(files.OpenCount(), 0) << "every file is closed";
  ASSERT_NE(tree.Find("f0"), nullptr);
  EXPECT_EQ(tree.Find("p0")->text, "P");
}

TEST_F(Reader, AMissingFileOfAKindThatMustBeOpenedFailsTheRead) {
  for (const char* line : {"Form=Missing.frm", "UserControl=Missing.ctl", "PropertyPage=Missing.pag",
                           "UserDocument=Missing.dob", "Designer=Missing.dsr"}) {
    messages.shown.clear();
    pointer.history.clear();
    saveAs.enabled = true;
    EXPECT_FALSE(Read(Crlf({"Module=M; M.bas", line}))) << line;
    EXPECT_FALSE(saveAs.enabled) << line;
    ASSERT_EQ(messages.shown.size(), 1u) << line;
    EXPECT_EQ(messages.shown[0].text, "Error.");
    EXPECT_EQ(messages.shown[0].style, 16);
    EXPECT_EQ(messages.shown[0].caption, "Tarvex");
    EXPECT_EQ(messages.shown[0].pointerWhenShown, 0) << "the pointer is restored before the box";
    EXPECT_EQ(pointer.history, (std::vector<int32_t>{11, 0}));
    EXPECT_EQ(files.OpenCount(), 0);
    EXPECT_EQ(Model().count, static_cast<int32_t>(Model().components.size()));
  }
}

TEST_F(Reader, MissingModuleAndClassFilesAreNotFailures) {
  EXPECT_TRUE(Read(Crlf({"Module=M; Missing.bas", "Class=C; Missing.cls"})));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Reader, AFailedReadKeepsTheOldTreeAndTheNewPath) {
  files.Put(kFolder + "F.frm", FormFile("VB.Form", "F"));
  ASSERT_TRUE(Read(Crlf({"Name=Old", "Form=F.frm"})));
  files.Put("D:\\Other.vbp", "Name=New\r\nForm=Gone.frm\r\n");
  EXPECT_FALSE(mdlFile::ReadProject("D:\\Other.vbp", context));
  EXPECT_EQ(tree.Find("p0")->text, "Old");
  EXPECT_EQ(Model().filePath, "D:\\Other.vbp");
  EXPECT_EQ(Model().name, "New");
}

TEST_F(Reader, UnreadableProjectFilesFail) {
  EXPECT_FALSE(mdlFile::ReadProject("C:\\Nowhere.vbp", context));
  EXPECT_EQ(Model().filePath, "C:\\Nowhere.vbp");
  files.Put(kProject, "Module=A; a.bas\r\nModule=B; b.bas\r\n");
  files.FailReadAfter(kProject, 5);
  EXPECT_FALSE(mdlFile::ReadProject(kProject, context));
  ASSERT_EQ(messages.shown.size(), 2u);
}

TEST_F(Reader, AComponentFileThatFailsPartWayFailsTheRead) {
  files.Put(kFolder + "F.frm", FormFile("VB.Form", "F"));
  files.FailReadAfter(kFolder + "F.frm", 3);
  EXPECT_FALSE(Read(Crlf({"Form=F.frm"})));
}

TEST_F(Reader, ASecondProjectReplacesTheFirstCompletely) {
  files.Put(kFolder + "F.frm", FormFile("VB.Form", "F"));
  ASSERT_TRUE(Read(Crlf({"Name=Big", "Type=Exe", "Form=F.frm", "Module=A; a.bas", "Class=C; c.cls"})));
  ASSERT_TRUE(Read(Crlf({"Module=Z; z.bas"})));
  EXPECT_EQ(Model().name, "");
  EXPECT_EQ(Model().type, 0);
  ASSERT_EQ(Model().count, 1);
  EXPECT_EQ(Model().components[0].name, "Z");
  EXPECT_EQ(tree.Find("r1"), nullptr);
  EXPECT_EQ(tree.Find("f1"), nullptr);
  EXPECT_EQ(tree.Count(), 3);
}

TEST_F(Reader, BinaryAndNulBytesAreCarriedThrough) {
  std::string project = "Name=A";
  project += '\0';
  project += "B\xff\r\nModule=\x81; x\0y.bas\r\n";
  project.push_back('\0');
  ASSERT_TRUE(Read(project));
  EXPECT_EQ(Model().name, std::string("A\0B\xff", 4));
  ASSERT_EQ(Model().count, 1);
  EXPECT_EQ(Model().components[0].name, "\x81");
}

}  // namespace

namespace {

TEST_F(Reader, ComponentLinesReadPieceByPieceGiveTheSameResult) {
  files.SetChunk(1);
  files.Put(kFolder + "F.frm", "   Begin VB.Form Inner\r\nBegin VB.MDIForm M\r\n  Attribute VB_Name   =  \"Split\"  \r\n" +
                                   std::string("attribute vb_nameX = \"No\"\r\n") + "Attribute VB_Nam = \"No\"\r\n");
  ASSERT_TRUE(Read("Form=F.frm\r\n"));
  EXPECT_EQ(Model().components[0].kind, 2);
  EXPECT_EQ(Model().components[0].name, "Split");
}

TEST_F(Reader, HugeLinesInComponentFilesAreScannedNotMisread) {
  const std::string huge(3 * 1024 * 1024, 'x');
  files.Put(kFolder + "F.frm", "Begin " + huge + "\r\nBegin VB.Form F\r\n" + huge + " = 1\r\nAttribute VB_Name = \"" +
                                   std::string(100000, 'n') + "\"\r\n" + std::string(70000, ' ') + "=y\r\n");
  ASSERT_TRUE(Read("Form=F.frm\r\n"));
  EXPECT_EQ(Model().components[0].kind, 1);
  EXPECT_EQ(Model().components[0].name, std::string(100000, 'n'));
}

}  // namespace
