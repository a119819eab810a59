#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pack/mdl_file_pack.h"
#include "tests/fakes/fake_pack_files.h"
#include "tests/fakes/recording_ui.h"

using fakes::FakePackFiles;
using mdlFile::Component;
using mdlFile::ProjectModel;
using Step = FakePackFiles::Step;
using ::testing::ElementsAre;

namespace {

const char* const kSaved = "Project saved.";
const char* const kError = "Error during save.";

class PackProjectTest : public ::testing::Test {
 protected:
  // The worked example's project: C:\Work\Demo\Demo.vbp with a form, a module and a class.
  void SetUpDemo() {
    files.Put("C:\\Work\\Demo\\Demo.vbp",
              "Type=Exe\r\nForm=Main.frm\r\nModule=Tools; ..\\Lib\\Tools.bas\r\nClass=Item; Item.cls\r\n"
              "MajorVer=1\r\nHelpContextID=0\r\n");
    files.Put("C:\\Work\\Demo\\Main.frm", "form");
    files.Put("C:\\Work\\Lib\\Tools.bas", "tools");
    files.Put("C:\\Work\\Demo\\Item.cls", "item");
    model.filePath = "C:\\Work\\Demo\\Demo.vbp";
    Add(mdlFile::kindForm, "Main", "Main.frm");
    Add(mdlFile::kindModule, "Tools", "..\\Lib\\Tools.bas");
    Add(mdlFile::kindClass, "Item", "Item.cls");
  }
  void Add(int32_t kind, const std::string& name, const std::string& path) {
    model.components.push_back(Component{kind, name, path});
    model.count = static_cast<int32_t>(model.components.size());
  }
  bool Pack(const std::string& target = "D:\\Pack\\Demo.vbp") {
    const mdlFile::PackContext context{files, pointer, messages,
                                       [this](const mdlFile::PackFailure& f) { failures.push_back(f); }};
    return mdlFile::PackProject(model, target, context);
  }
  std::string Message() const {
    return messages.shown.size() == 1 ? messages.shown[0].text : "not one message";
  }
  std::string Written(const std::string& target = "D:\\Pack\\Demo.vbp") const {
    return files.Content(target).value_or("<missing>");
  }

  FakePackFiles files;
  ProjectModel model;
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages{&pointer};
  std::vector<mdlFile::PackFailure> failures;
};

TEST_F(PackProjectTest, WorkedExampleByteForByte) {
  SetUpDemo();
  files.Put("C:\\Work\\Demo\\Main.frx", std::string("\0\1frx", 5));
  const ProjectModel before = model;
  EXPECT_TRUE(Pack());
  EXPECT_EQ(Written(),
            "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nClass=Item; Item.cls\r\n"
            "Type=Exe\r\nMajorVer=1\r\nHelpContextID=0\r\n");
  EXPECT_THAT(files.LogOf("copy"),
              ElementsAre("copy C:\\Work\\Demo\\Main.frm to D:\\Pack\\Main.frm",
                          "copy C:\\Work\\Demo\\Main.frx to D:\\Pack\\Main.frx",
                          "copy C:\\Work\\Demo\\..\\Lib\\Tools.bas to D:\\Pack\\Tools.bas",
                          "copy C:\\Work\\Demo\\Item.cls to D:\\Pack\\Item.cls"));
  EXPECT_EQ(files.Content("D:\\Pack\\Main.frx"), std::string("\0\1frx", 5));
  EXPECT_EQ(files.Content("D:\\Pack\\Tools.bas"), "tools");
  EXPECT_THAT(files.NamesIn("D:\\Pack"),
              ElementsAre("Demo.vbp", "Item.cls", "Main.frm", "Main.frx", "Tools.bas"));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kSaved);
  EXPECT_EQ(messages.shown[0].style, platform::MB_OK | platform::MB_ICONINFORMATION);
  EXPECT_EQ(messages.shown[0].caption, "Tarvex");
  EXPECT_EQ(messages.shown[0].pointerWhenShown, platform::vbDefault);
  EXPECT_THAT(pointer.history, ElementsAre(platform::vbHourglass, platform::vbDefault));
  EXPECT_EQ(files.OpenCount(), 0);
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(model.components.size(), before.components.size());
  EXPECT_EQ(model.filePath, before.filePath);
}

TEST_F(PackProjectTest, MissingCompanionChangesNothing) {
  SetUpDemo();
  EXPECT_TRUE(Pack());
  EXPECT_EQ(Message(), kSaved);
  EXPECT_FALSE(files.Content("D:\\Pack\\Main.frx"));
  EXPECT_THAT(files.LogOf("exists"), ElementsAre("exists C:\\Work\\Demo\\Main.frx"));
}

TEST_F(PackProjectTest, HourglassShowsFromTheStartUntilBeforeTheMessage) {
  SetUpDemo();
  files.Fail(Step::Create, "D:\\Pack\\Demo.vbp");
  EXPECT_FALSE(Pack());
  EXPECT_THAT(pointer.history, ElementsAre(platform::vbHourglass, platform::vbDefault));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kError);
  EXPECT_EQ(messages.shown[0].style, platform::MB_OK | platform::MB_ICONERROR);
  EXPECT_EQ(messages.shown[0].caption, "Tarvex");
  EXPECT_EQ(messages.shown[0].pointerWhenShown, platform::vbDefault);
}

// Each failure of a single step: the save goes on with every other step and reports the error.
TEST_F(PackProjectTest, FailedComponentCopyStillWritesItsLineAndEveryOtherComponent) {
  SetUpDemo();
  files.Fail(Step::Copy, "C:\\Work\\Demo\\Main.frm");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Message(), kError);
  EXPECT_EQ(Written(),
            "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nClass=Item; Item.cls\r\n"
            "Type=Exe\r\nMajorVer=1\r\nHelpContextID=0\r\n");
  EXPECT_FALSE(files.Content("D:\\Pack\\Main.frm"));
  EXPECT_EQ(files.Content("D:\\Pack\\Item.cls"), "item");
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].attempted, "copy C:\\Work\\Demo\\Main.frm to D:\\Pack\\Main.frm");
  EXPECT_EQ(failures[0].file, "C:\\Work\\Demo\\Main.frm");
  EXPECT_EQ(failures[0].reason, "injected copy failure");
}

TEST_F(PackProjectTest, MissingComponentFileIsAFailure) {
  SetUpDemo();
  Add(mdlFile::kindModule, "Gone", "Gone.bas");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Message(), kError);
  EXPECT_NE(Written().find("Module=Gone; Gone.bas\r\n"), std::string::npos);
}

TEST_F(PackProjectTest, TargetThatCannotBeCreatedStillCopiesEveryFile) {
  SetUpDemo();
  files.Put("C:\\Work\\Demo\\Main.frx", "frx");
  files.Fail(Step::Create, "D:\\Pack\\Demo.vbp");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Message(), kError);
  EXPECT_FALSE(files.Content("D:\\Pack\\Demo.vbp"));
  EXPECT_EQ(files.Content("D:\\Pack\\Main.frm"), "form");
  EXPECT_EQ(files.Content("D:\\Pack\\Main.frx"), "frx");  // the flag no longer decides what is copied
  EXPECT_EQ(files.Content("D:\\Pack\\Tools.bas"), "tools");
  EXPECT_TRUE(files.LogOf("write").empty());
  ASSERT_EQ(failures.size(), 1u);  // one line for the creation, not one per line that could not follow
  EXPECT_EQ(failures[0].attempted, "create D:\\Pack\\Demo.vbp");
}

TEST_F(PackProjectTest, SourceThatCannotBeOpenedStillCopiesAndWritesComponents) {
  SetUpDemo();
  files.Fail(Step::Open, "C:\\Work\\Demo\\Demo.vbp");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Message(), kError);
  EXPECT_EQ(Written(), "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nClass=Item; Item.cls\r\n");
  EXPECT_EQ(files.Content("D:\\Pack\\Item.cls"), "item");
}

TEST_F(PackProjectTest, ReadFailingPartWayEndsTheCarryingOverThere) {
  SetUpDemo();
  files.FailReadAfter("C:\\Work\\Demo\\Demo.vbp", 10);  // after "Type=Exe\r\n"
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Message(), kError);
  EXPECT_EQ(Written(), "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nClass=Item; Item.cls\r\nType=Exe\r\n");
  EXPECT_EQ(files.OpenCount(), 0);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].attempted, "read a line of C:\\Work\\Demo\\Demo.vbp");
}

TEST_F(PackProjectTest, FailedLineWriteIsAFailureAndTheOtherLinesAreStillWritten) {
  SetUpDemo();
  files.FailWrite(1);  // Module=Tools; Tools.bas
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Message(), kError);
  EXPECT_EQ(Written(),
            "Form=Main.frm\r\nClass=Item; Item.cls\r\nType=Exe\r\nMajorVer=1\r\nHelpContextID=0\r\n");
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].attempted, "write a line to D:\\Pack\\Demo.vbp");
}

TEST_F(PackProjectTest, FailureThatShowsOnlyAtCloseIsAFailure) {
  SetUpDemo();
  files.Fail(Step::Close, "D:\\Pack\\Demo.vbp");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Message(), kError);
  EXPECT_EQ(files.OpenCount(), 0);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].attempted, "close D:\\Pack\\Demo.vbp");
}

TEST_F(PackProjectTest, OpensTheSourceThenCreatesTheTargetAndClosesItLast) {
  SetUpDemo();
  EXPECT_TRUE(Pack());
  const auto& log = files.Log();
  EXPECT_EQ(log.front(), "open C:\\Work\\Demo\\Demo.vbp");
  EXPECT_EQ(log[1], "create D:\\Pack\\Demo.vbp");
  EXPECT_EQ(log.back(), "close D:\\Pack\\Demo.vbp");
}

TEST_F(PackProjectTest, TargetThatIsTheSourceProjectFileIsLeftUntouched) {
  for (const std::string target : {"C:\\Work\\Demo\\Demo.vbp", "c:\\work\\lib\\..\\DEMO\\demo.VBP"}) {
    SCOPED_TRACE(target);
    files = FakePackFiles();
    model = ProjectModel();
    messages.shown.clear();
    SetUpDemo();
    const std::string original = *files.Content("C:\\Work\\Demo\\Demo.vbp");
    EXPECT_FALSE(Pack(target));
    EXPECT_EQ(Message(), kError);
    EXPECT_EQ(files.Content("C:\\Work\\Demo\\Demo.vbp"), original);
    EXPECT_EQ(files.Content("C:\\Work\\Demo\\Main.frm"), "form");  // a copy onto its own source fails
  }
}

TEST_F(PackProjectTest, TargetThatIsAHardLinkToTheSourceIsLeftUntouched) {
  SetUpDemo();
  files.Link("C:\\Work\\Demo\\Demo.vbp", "D:\\Pack\\Demo.vbp");
  const std::string original = *files.Content("C:\\Work\\Demo\\Demo.vbp");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(files.Content("C:\\Work\\Demo\\Demo.vbp"), original);
  EXPECT_EQ(Message(), kError);
}

TEST_F(PackProjectTest, ReadOnlyTargetProjectFileCannotBeEmptied) {
  SetUpDemo();
  files.Put("D:\\Pack\\Demo.vbp", "old");
  files.SetReadOnly("D:\\Pack\\Demo.vbp");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Written(), "old");
}

TEST_F(PackProjectTest, PackingIntoTheSourceFolderFailsForFilesLyingInItAndChangesNothing) {
  SetUpDemo();
  EXPECT_FALSE(Pack("C:\\Work\\Demo\\Packed.vbp"));
  EXPECT_EQ(Message(), kError);
  EXPECT_EQ(files.Content("C:\\Work\\Demo\\Main.frm"), "form");
  EXPECT_EQ(files.Content("C:\\Work\\Demo\\Tools.bas"), "tools");  // from ..\Lib, a real copy
  EXPECT_EQ(failures.size(), 2u);                                  // Main.frm and Item.cls
}

TEST_F(PackProjectTest, ReadOnlyFileInTheTargetFolderFailsAndIsLeftAsItWas) {
  SetUpDemo();
  files.Put("D:\\Pack\\Item.cls", "mine");
  files.SetReadOnly("D:\\Pack\\Item.cls");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(files.Content("D:\\Pack\\Item.cls"), "mine");
  EXPECT_TRUE(files.ReadOnly("D:\\Pack\\Item.cls"));
  EXPECT_EQ(Message(), kError);
}

TEST_F(PackProjectTest, FileMatchingWithoutRegardToCaseIsTheOneReplaced) {
  SetUpDemo();
  files.Put("D:\\Pack\\MAIN.FRM", "old");
  EXPECT_TRUE(Pack());
  EXPECT_EQ(files.Content("D:\\Pack\\Main.frm"), "form");
  EXPECT_THAT(files.NamesIn("D:\\Pack"), ElementsAre("Demo.vbp", "Item.cls", "MAIN.FRM", "Tools.bas"));
}

TEST_F(PackProjectTest, PackingTwiceReplacesEveryFileOfTheFirstPack) {
  SetUpDemo();
  EXPECT_TRUE(Pack());
  files.Put("C:\\Work\\Demo\\Item.cls", "item 2");
  files.Put("C:\\Work\\Demo\\Demo.vbp", "Type=Control\r\n");
  EXPECT_TRUE(Pack());
  EXPECT_EQ(files.Content("D:\\Pack\\Item.cls"), "item 2");
  EXPECT_EQ(Written(),
            "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nClass=Item; Item.cls\r\nType=Control\r\n");
}

// Companions.
TEST_F(PackProjectTest, CompanionsFollowTheKindTable) {
  files.Put("C:\\P\\P.vbp", "");
  model.filePath = "C:\\P\\P.vbp";
  const std::vector<std::pair<int32_t, std::string>> kinds = {
      {mdlFile::kindForm, "A.frm"},        {mdlFile::kindMdiForm, "B.frm"},
      {mdlFile::kindUserControl, "C.ctl"}, {mdlFile::kindPropertyPage, "D.pag"},
      {mdlFile::kindDesigner, "E.dsr"},    {mdlFile::kindUserDocument, "F.dob"},
      {mdlFile::kindModule, "G.bas"},      {mdlFile::kindClass, "H.cls"},
      {mdlFile::kindUndetermined, "I.frm"}};
  for (const auto& [kind, path] : kinds) {
    Add(kind, "N", "Sub\\" + path);
    files.Put("C:\\P\\Sub\\" + path, path);
    for (const char* ext : {".frx", ".ctx", ".pgx", ".dsx", ".dsa"}) {
      files.Put("C:\\P\\Sub\\" + path.substr(0, 1) + ext, ext);
    }
  }
  EXPECT_TRUE(Pack("D:\\Q\\P.vbp"));
  EXPECT_THAT(files.NamesIn("D:\\Q"),
              ElementsAre("A.frm", "A.frx", "B.frm", "B.frx", "C.ctl", "C.ctx", "D.pag", "D.pgx", "E.dsa",
                          "E.dsr", "E.dsx", "F.dob", "G.bas", "H.cls", "I.frm", "P.vbp"));
  EXPECT_EQ(Written("D:\\Q\\P.vbp"),
            "Form=A.frm\r\nForm=B.frm\r\nUserControl=C.ctl\r\nPropertyPage=D.pag\r\nDesigner=E.dsr\r\n"
            "UserDocument=F.dob\r\nModule=N; G.bas\r\nClass=N; H.cls\r\n");
  // Only kinds with companions look for them; .dsx is tried before .dsa.
  EXPECT_THAT(files.LogOf("exists"), ElementsAre("exists C:\\P\\Sub\\A.frx", "exists C:\\P\\Sub\\B.frx",
                                                 "exists C:\\P\\Sub\\C.ctx", "exists C:\\P\\Sub\\D.pgx",
                                                 "exists C:\\P\\Sub\\E.dsx", "exists C:\\P\\Sub\\E.dsa"));
}

TEST_F(PackProjectTest, DesignerWithoutDsxStillHasItsDsaCopied) {
  files.Put("C:\\P\\P.vbp", "");
  files.Put("C:\\P\\E.dsr", "dsr");
  files.Put("C:\\P\\E.dsa", "dsa");
  model.filePath = "C:\\P\\P.vbp";
  Add(mdlFile::kindDesigner, "E", "E.dsr");
  EXPECT_TRUE(Pack("D:\\Q\\P.vbp"));
  EXPECT_EQ(files.Content("D:\\Q\\E.dsa"), "dsa");
  EXPECT_FALSE(files.Content("D:\\Q\\E.dsx"));
}

TEST_F(PackProjectTest, CompanionThatExistsButCannotBeCopiedIsAFailure) {
  SetUpDemo();
  files.Put("C:\\Work\\Demo\\Main.frx", "frx");
  files.Fail(Step::Copy, "C:\\Work\\Demo\\Main.frx");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Message(), kError);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].attempted, "copy C:\\Work\\Demo\\Main.frx to D:\\Pack\\Main.frx");
}

TEST_F(PackProjectTest, CompanionThatIsNoRegularFileFails) {
  SetUpDemo();
  files.PutSpecial("C:\\Work\\Demo\\Main.frx");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Message(), kError);
}

TEST_F(PackProjectTest, ComponentThatIsNoRegularFileFailsAndTheRestGoesOn) {
  SetUpDemo();
  files.PutSpecial("C:\\Work\\Demo\\Main.frm");
  EXPECT_FALSE(Pack());
  EXPECT_EQ(files.Content("D:\\Pack\\Item.cls"), "item");
  EXPECT_EQ(failures.size(), 1u);
}

TEST_F(PackProjectTest, CompanionsOfLaterComponentsAreCopiedAfterAnEarlyFailure) {
  files.Put("C:\\P\\P.vbp", "");
  model.filePath = "C:\\P\\P.vbp";
  Add(mdlFile::kindForm, "A", "A.frm");  // missing
  Add(mdlFile::kindForm, "B", "B.frm");
  Add(mdlFile::kindUserControl, "C", "C.ctl");
  for (const char* name : {"B.frm", "B.frx", "C.ctl", "C.ctx", "A.frx"})
    files.Put(std::string("C:\\P\\") + name, name);
  EXPECT_FALSE(Pack("D:\\Q\\P.vbp"));
  EXPECT_THAT(files.NamesIn("D:\\Q"), ElementsAre("A.frx", "B.frm", "B.frx", "C.ctl", "C.ctx", "P.vbp"));
  EXPECT_EQ(failures.size(), 1u);
}

TEST_F(PackProjectTest, CompanionNameThatCannotBeFormedIsSkippedSilently) {
  files.Put("C:\\P\\P.vbp", "");
  files.Put("C:\\P\\F.x", "short");
  files.Put("C:\\P\\Long\\X.f", "short name");
  model.filePath = "C:\\P\\P.vbp";
  Add(mdlFile::kindForm, "F", "F.x");        // path shorter than four characters
  Add(mdlFile::kindForm, "X", "Long\\X.f");  // file name shorter than four characters
  EXPECT_TRUE(Pack("D:\\Q\\P.vbp"));
  EXPECT_TRUE(files.LogOf("exists").empty());
  EXPECT_EQ(Written("D:\\Q\\P.vbp"), "Form=F.x\r\nForm=X.f\r\n");
  EXPECT_EQ(files.Content("D:\\Q\\X.f"), "short name");
}

// Names that collide, and names that would leave the target folder.
TEST_F(PackProjectTest, TwoFilesUnderOneTargetNameAreAFailureAndTheLaterWins) {
  files.Put("C:\\P\\P.vbp", "Module=U; a\\Util.bas\r\nModule=V; b\\UTIL.bas\r\n");
  files.Put("C:\\P\\a\\Util.bas", "a");
  files.Put("C:\\P\\b\\UTIL.bas", "b");
  model.filePath = "C:\\P\\P.vbp";
  Add(mdlFile::kindModule, "U", "a\\Util.bas");
  Add(mdlFile::kindModule, "V", "b\\UTIL.bas");
  EXPECT_FALSE(Pack("D:\\Q\\P.vbp"));
  EXPECT_EQ(Message(), kError);
  EXPECT_EQ(files.Content("D:\\Q\\Util.bas"), "b");
  EXPECT_EQ(Written("D:\\Q\\P.vbp"), "Module=U; Util.bas\r\nModule=V; UTIL.bas\r\n");
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].attempted, "copy C:\\P\\b\\UTIL.bas to D:\\Q\\UTIL.bas");
}

TEST_F(PackProjectTest, OneFileReachedTwiceIsNoCollision) {
  files.Put("C:\\P\\P.vbp", "");
  files.Put("C:\\P\\a\\Util.bas", "a");
  files.Link("C:\\P\\a\\Util.bas", "C:\\P\\b\\Util.bas");
  model.filePath = "C:\\P\\P.vbp";
  Add(mdlFile::kindModule, "U", "a\\Util.bas");
  Add(mdlFile::kindModule, "V", "..\\P\\A\\util.bas");  // another spelling
  Add(mdlFile::kindModule, "W", "b\\Util.bas");         // a hard link
  EXPECT_TRUE(Pack("D:\\Q\\P.vbp"));
  EXPECT_EQ(files.Content("D:\\Q\\Util.bas"), "a");
}

TEST_F(PackProjectTest, FileNameThatWouldLeaveTheTargetFolderIsNotCopied) {
  files.Put("C:\\P\\P.vbp", "");
  model.filePath = "C:\\P\\P.vbp";
  for (const std::string& path :
       std::vector<std::string>{"x/../../Evil.bas", "C:Evil.bas", "Sub\\..", "Sub\\.", "Sub\\", "",
                                "Sub\\. .", std::string("Ev\0il.bas", 9)}) {
    files.Put("C:\\P\\" + path, "evil");
    Add(mdlFile::kindModule, "E", path);
  }
  EXPECT_FALSE(Pack("D:\\Q\\P.vbp"));
  EXPECT_TRUE(files.LogOf("copy").empty());
  EXPECT_THAT(files.NamesIn("D:\\Q"), ElementsAre("P.vbp"));
  EXPECT_EQ(failures.size(), 8u);
  EXPECT_EQ(Written("D:\\Q\\P.vbp").substr(0, 32), "Module=E; x/../../Evil.bas\r\nModu");
}

TEST_F(PackProjectTest, ComponentNamingTheProjectFilesBeingPackedCannotOverwriteThem) {
  SetUpDemo();
  Add(mdlFile::kindModule, "X", "..\\Demo\\Demo.vbp");  // the source project file itself
  files.Put("C:\\Work\\Other\\Demo.vbp", "other project");
  Add(mdlFile::kindModule, "Y", "..\\Other\\Demo.vbp");  // lands on the target project file
  EXPECT_FALSE(Pack());
  EXPECT_EQ(Message(), kError);
  EXPECT_EQ(Written().substr(0, 15), "Form=Main.frm\r\n");
  EXPECT_NE(Written().find("Module=Y; Demo.vbp\r\nType=Exe\r\n"), std::string::npos);
  EXPECT_EQ(failures.size(), 2u);
}

TEST_F(PackProjectTest, ComponentLandingOnTheSourceProjectFileCannotOverwriteIt) {
  SetUpDemo();
  files.Put("C:\\Work\\Other\\Demo.vbp", "other project");
  Add(mdlFile::kindModule, "Y", "..\\Other\\Demo.vbp");
  const std::string original = *files.Content("C:\\Work\\Demo\\Demo.vbp");
  EXPECT_FALSE(Pack("C:\\Work\\Demo\\Packed.vbp"));
  EXPECT_EQ(files.Content("C:\\Work\\Demo\\Demo.vbp"), original);
  ASSERT_EQ(failures.size(), 3u);  // Main.frm, Item.cls onto themselves, and the project file
  EXPECT_EQ(failures[2].attempted, "copy C:\\Work\\Demo\\..\\Other\\Demo.vbp to C:\\Work\\Demo\\Demo.vbp");
}

// Lines of the source project file.
TEST_F(PackProjectTest, ComponentKeysAreDroppedIgnoringCaseButNotSpaces) {
  files.Put("C:\\P\\P.vbp",
            "FORM=x.frm\r\n Form=y.frm\r\nForm =z.frm\r\nDESIGNER=d\r\nusercontrol=u\r\nPropertyPage=p\r\n"
            "UserDocument=q\r\nClass=c\r\nModule=m\r\n[MS Transaction Server]\r\n\r\nName=\"P\"\r\n"
            "ResFile32=\"P.res\"\r\nReference=*\\G{0}#2.0#0#..\\x.tlb#Lib\r\nStartup=\"Sub Main\"\r\n");
  model.filePath = "C:\\P\\P.vbp";
  EXPECT_TRUE(Pack("D:\\Q\\P.vbp"));
  EXPECT_EQ(Written("D:\\Q\\P.vbp"),
            " Form=y.frm\r\nForm =z.frm\r\n[MS Transaction Server]\r\n\r\nName=\"P\"\r\n"
            "ResFile32=\"P.res\"\r\nReference=*\\G{0}#2.0#0#..\\x.tlb#Lib\r\nStartup=\"Sub Main\"\r\n");
  EXPECT_THAT(files.NamesIn("D:\\Q"), ElementsAre("P.vbp"));  // files that other lines name are not copied
}

TEST_F(PackProjectTest, UndeterminedComponentIsCopiedWithoutALine) {
  files.Put("C:\\P\\P.vbp", "Form=Odd.frm\r\n");
  files.Put("C:\\P\\Odd.frm", "odd");
  files.Put("C:\\P\\Odd.frx", "frx");
  model.filePath = "C:\\P\\P.vbp";
  Add(mdlFile::kindUndetermined, "", "Odd.frm");
  EXPECT_TRUE(Pack("D:\\Q\\P.vbp"));
  EXPECT_EQ(Written("D:\\Q\\P.vbp"), "");
  EXPECT_THAT(files.NamesIn("D:\\Q"), ElementsAre("Odd.frm", "P.vbp"));
}

TEST_F(PackProjectTest, EmptyOrAbsoluteComponentPathFails) {
  files.Put("C:\\P\\P.vbp", "");
  files.Put("C:\\Abs\\A.bas", "abs");
  model.filePath = "C:\\P\\P.vbp";
  Add(mdlFile::kindUndetermined, "", "");
  Add(mdlFile::kindModule, "A", "C:\\Abs\\A.bas");
  EXPECT_FALSE(Pack("D:\\Q\\P.vbp"));
  EXPECT_EQ(Written("D:\\Q\\P.vbp"), "Module=A; A.bas\r\n");
  EXPECT_THAT(files.LogOf("copy"), ElementsAre("copy C:\\P\\C:\\Abs\\A.bas to D:\\Q\\A.bas"));
  EXPECT_EQ(failures.size(), 2u);
}

TEST_F(PackProjectTest, ProjectWithoutComponentsCarriesEveryLine) {
  files.Put("C:\\P\\P.vbp", "Type=Exe\r\nName=\"P\"");
  model.filePath = "C:\\P\\P.vbp";
  EXPECT_TRUE(Pack("D:\\Q\\P.vbp"));
  EXPECT_EQ(Written("D:\\Q\\P.vbp"), "Type=Exe\r\nName=\"P\"\r\n");
  EXPECT_EQ(Message(), kSaved);
}

TEST_F(PackProjectTest, MdiFormIsWrittenAsAForm) {
  files.Put("C:\\P\\P.vbp", "");
  files.Put("C:\\P\\M.frm", "m");
  model.filePath = "C:\\P\\P.vbp";
  Add(mdlFile::kindMdiForm, "M", "M.frm");
  EXPECT_TRUE(Pack("D:\\Q\\P.vbp"));
  EXPECT_EQ(Written("D:\\Q\\P.vbp"), "Form=M.frm\r\n");
}

TEST_F(PackProjectTest, FailureFromBeforeTheSaveDoesNotCount) {
  SetUpDemo();
  files.Fail(Step::Create, "D:\\Bad\\Demo.vbp");
  EXPECT_FALSE(Pack("D:\\Bad\\Demo.vbp"));
  EXPECT_TRUE(Pack());
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, kSaved);
}

}  // namespace
