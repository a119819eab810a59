// frmMain's handlers over fakes: the dialogs decide, the reader and the packer report, the node click
// shows a path.
#include <gtest/gtest.h>

#include <cstring>

#include "app/frm_main.h"
#include "cli/memory_tree_view.h"
#include "tests/fakes/fake_pack_files.h"
#include "tests/fakes/memory_text_files.h"
#include "tests/fakes/recording_container.h"
#include "tests/fakes/recording_ui.h"
#include "tests/fakes/scripted_dialogs.h"

namespace {

class RecordingWindow : public platform::MainWindow {
 public:
  void SetFileText(const std::string& text) override {
    fileText = text;
    ++textChanges;
  }
  void Unload() override { events.push_back("Unload"); }
  void EndProgram() override { events.push_back("EndProgram"); }
  std::string fileText;
  int textChanges = 0;
  std::vector<std::string> events;
};

// A dialog answer that picks this file, as the system would write it.
std::function<int32_t(platform::OPENFILENAMEA&)> Choose(const std::string& path) {
  return [path](platform::OPENFILENAMEA& request) {
    std::strcpy(request.lpstrFile, path.c_str());
    std::strcpy(request.lpstrFileTitle, path.substr(path.rfind('\\') + 1).c_str());
    request.nFilterIndex = 1;
    return 1;
  };
}

class FrmMainTest : public testing::Test {
 protected:
  FrmMainTest() {
    files.Put("C:\\Work\\Demo.vbp",
              "Type=Exe\r\nForm=Main.frm\r\nModule=Tools; ..\\Shared\\Tools.bas\r\nName=\"Demo\"\r\n");
    files.Put("C:\\Work\\Main.frm",
              "VERSION 5.00\r\nBegin VB.Form Main\r\nEnd\r\nAttribute VB_Name = \"Main\"\r\n");
    packFiles.Put("C:\\Work\\Demo.vbp",
                  "Type=Exe\r\nForm=Main.frm\r\nModule=Tools; ..\\Shared\\Tools.bas\r\n");
    packFiles.Put("C:\\Work\\Main.frm", "form");
    packFiles.Put("C:\\Shared\\Tools.bas", "module");
    cmnMain.setFilter("Project Files (*.vbp)|*.vbp");
  }

  fakes::MemoryTextFiles files;
  fakes::FakePackFiles packFiles;
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages{&pointer};
  cli::MemoryTreeView tree;
  fakes::RecordingCommand saveAs;
  fakes::RecordingContainer container;
  fakes::ScriptedDialogs dialogs;
  cmndlg::CmnDlg cmnMain{container, dialogs};
  RecordingWindow window;
  frmMain::Form form{
      window, cmnMain, {files, pointer, messages, tree, saveAs}, {packFiles, pointer, messages}};
};

TEST_F(FrmMainTest, OpenReadsTheChosenProjectAndSaveAsPacksToTheChosenFile) {
  dialogs.answerOpen = Choose("C:\\Work\\Demo.vbp");
  frmMain::mnuFileOpen_Click(form);
  ASSERT_EQ(dialogs.opens.size(), 1u);
  EXPECT_EQ(dialogs.opens[0].title, "Open");
  EXPECT_EQ(*dialogs.opens[0].filter, std::string("Project Files (*.vbp)\0*.vbp\0\0", 29));
  EXPECT_EQ(mdlFile::Model().filePath, "C:\\Work\\Demo.vbp");
  EXPECT_EQ(mdlFile::Model().count, 2);
  EXPECT_TRUE(saveAs.enabled);
  EXPECT_TRUE(messages.shown.empty());
  ASSERT_NE(tree.Find("f1"), nullptr);

  // The Save As dialog proposes the file the Open dialog returned.
  dialogs.answerSave = Choose("D:\\Pack\\Demo.vbp");
  frmMain::mnuFileSaveAs_Click(form);
  ASSERT_EQ(dialogs.saves.size(), 1u);
  EXPECT_EQ(dialogs.saves[0].title, "Save As");
  EXPECT_EQ(dialogs.saves[0].file->substr(0, 16), "C:\\Work\\Demo.vbp");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Project saved.");
  EXPECT_EQ(messages.shown[0].style, platform::MB_OK | platform::MB_ICONINFORMATION);
  EXPECT_EQ(messages.shown[0].caption, "Tarvex");
  EXPECT_EQ(packFiles.Content("D:\\Pack\\Tools.bas"), "module");
  EXPECT_EQ(packFiles.Content("D:\\Pack\\Demo.vbp"),
            "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nType=Exe\r\n");

  // And the next Open dialog proposes the packed file.
  dialogs.answerOpen = nullptr;
  frmMain::mnuFileOpen_Click(form);
  EXPECT_EQ(dialogs.opens[1].file->substr(0, 16), "D:\\Pack\\Demo.vbp");
}

TEST_F(FrmMainTest, CancelledDialogsChangeNothing) {
  dialogs.answerOpen = Choose("C:\\Work\\Demo.vbp");
  frmMain::mnuFileOpen_Click(form);
  frmMain::trvMain_NodeClick(form, "p0");
  const int treeNodes = tree.Count();
  const int commandChanges = saveAs.changes;

  dialogs.answerOpen = nullptr;  // cancel
  frmMain::mnuFileOpen_Click(form);
  EXPECT_EQ(cmnMain.LastError(), cmndlg::kCancelError);
  EXPECT_EQ(mdlFile::Model().filePath, "C:\\Work\\Demo.vbp");
  EXPECT_EQ(tree.Count(), treeNodes);
  EXPECT_EQ(saveAs.changes, commandChanges);
  EXPECT_EQ(window.fileText, "C:\\Work\\Demo.vbp");

  dialogs.answerSave = nullptr;
  frmMain::mnuFileSaveAs_Click(form);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(packFiles.LogOf("copy").empty());
  EXPECT_TRUE(packFiles.LogOf("create").empty());
}

TEST_F(FrmMainTest, AFailedReadDisablesSaveAsAndReportsOnce) {
  dialogs.answerOpen = Choose("C:\\Work\\Missing.vbp");
  frmMain::mnuFileOpen_Click(form);
  EXPECT_FALSE(saveAs.enabled);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Error.");
  EXPECT_EQ(messages.shown[0].style, platform::MB_OK | platform::MB_ICONERROR);
}

TEST_F(FrmMainTest, ExitUnloadsAndUnloadEndsTheProgram) {
  frmMain::mnuFileExit_Click(form);
  EXPECT_EQ(window.events, std::vector<std::string>{"Unload"});
  frmMain::Form_Unload(form);
  EXPECT_EQ(window.events, (std::vector<std::string>{"Unload", "EndProgram"}));
}

TEST(NodePathText, ShowsTheProjectPathNothingOrTheComponentsPathByTheKeysFirstCharacter) {
  mdlFile::ProjectModel model;
  model.filePath = "C:\\Work\\Demo.vbp";
  for (int i = 0; i < 14; ++i)
    model.components.push_back({3, "M" + std::to_string(i), "m" + std::to_string(i) + ".bas"});
  model.count = 14;
  EXPECT_EQ(frmMain::NodePathText(model, "p0"), "C:\\Work\\Demo.vbp");
  EXPECT_EQ(frmMain::NodePathText(model, "r3"), "");
  EXPECT_EQ(frmMain::NodePathText(model, "f1"), "m1.bas");
  EXPECT_EQ(frmMain::NodePathText(model, "f12"), "m12.bas");
  EXPECT_EQ(frmMain::NodePathText(model, "f13"), "m13.bas");
  // Case counts, and no other first character changes the field.
  EXPECT_EQ(frmMain::NodePathText(model, "P0"), std::nullopt);
  EXPECT_EQ(frmMain::NodePathText(model, "F1"), std::nullopt);
  EXPECT_EQ(frmMain::NodePathText(model, "x"), std::nullopt);
  EXPECT_EQ(frmMain::NodePathText(model, ""), std::nullopt);
}

TEST(NodePathText, AComponentTheModelDoesNotHoldShowsNothing) {
  mdlFile::ProjectModel model;  // a failed read left fewer components than the tree still shows
  model.components.push_back({3, "A", "a.bas"});
  model.count = 1;
  EXPECT_EQ(frmMain::NodePathText(model, "f0"), "a.bas");
  EXPECT_EQ(frmMain::NodePathText(model, "f1"), "");
  EXPECT_EQ(frmMain::NodePathText(model, "f99999999999"), "");
  model.count = 5;  // a count running ahead of the list is not trusted either
  EXPECT_EQ(frmMain::NodePathText(model, "f3"), "");
}

}  // namespace
