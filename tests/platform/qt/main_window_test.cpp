// frmMain on Qt, end to end: real files, the real window and widgets, file dialogs and message boxes
// answered by the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_text_files.h"
#include "platform/qt/qt_handles.h"
#include "platform/qt/qt_main_window.h"
#include "project/mdl_file.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

const QString kDemo = QStringLiteral(TARVEX_SOURCE_DIR "/examples/Demo/Demo.vbp");

void Write(const QString& path, const QByteArray& content) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

// A node as the tree shows it, in display order.
struct ShownNode {
  int depth;
  std::string key;
  QString text;
  int image;
  int selectedImage;
  bool expanded;
  friend bool operator==(const ShownNode&, const ShownNode&) = default;
};

std::ostream& operator<<(std::ostream& out, const ShownNode& node) {
  return out << node.depth << ' ' << node.key << " \"" << node.text.toStdString() << "\" " << node.image
             << '/' << node.selectedImage << (node.expanded ? " expanded" : "");
}

void Collect(const QTreeWidgetItem* item, int depth, std::vector<ShownNode>& nodes) {
  nodes.push_back({depth, qtui::QtTreeView::KeyOf(*item), item->text(0),
                   item->data(0, qtui::kImageRole).toInt(), item->data(0, qtui::kSelectedImageRole).toInt(),
                   item->isExpanded()});
  for (int i = 0; i < item->childCount(); ++i) Collect(item->child(i), depth + 1, nodes);
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(work.isValid());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  std::string WindowsPath(const QString& host) const {
    return *posix::WindowsFromHost(QFileInfo(host).absoluteFilePath().toStdString(), *codePage);
  }

  std::vector<ShownNode> Shown() {
    std::vector<ShownNode> nodes;
    for (int i = 0; i < window.trvMain().topLevelItemCount(); ++i)
      Collect(window.trvMain().topLevelItem(i), 0, nodes);
    return nodes;
  }

  void Open(const QString& hostPath) {
    runner.answers.push_back(qttest::ChooseFile(hostPath));
    window.mnuFileOpen().trigger();
    EXPECT_TRUE(runner.answers.empty());
  }

  void Click(const std::string& key) {
    QTreeWidgetItem* item = window.Tree().Find(key);
    ASSERT_NE(item, nullptr) << key;
    for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent()) {
      parent->setExpanded(true);
    }
    window.trvMain().scrollToItem(item);
    const QRect rect = window.trvMain().visualItemRect(item);
    ASSERT_TRUE(rect.isValid()) << key;
    QTest::mouseClick(window.trvMain().viewport(), Qt::LeftButton, {}, rect.center());
  }

  // A project of modules only, so no component file has to exist.
  QString ModulesProject(const QString& name, int count) {
    QByteArray text = "Type=OleDll\r\nName=\"" + name.toUtf8() + "\"\r\n";
    for (int i = 0; i < count; ++i)
      text += "Module=M" + QByteArray::number(i) + "; m" + QByteArray::number(i) + ".bas\r\n";
    const QString path = work.filePath(name + ".vbp");
    Write(path, text);
    return path;
  }

  QString Text() { return window.txtFile().text(); }

  QTemporaryDir work;
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  posix::PosixTextFiles files{*codePage};
  posix::PosixPackFiles packFiles{*codePage};
  qttest::ScriptedRunner runner;
  int endCalls = 0;
  qtui::QtMainWindow window{{*codePage, files, packFiles, runner, [this] { ++endCalls; }}};
};

TEST_F(MainWindowTest, StartsAsTheFormIsCreated) {
  EXPECT_EQ(window.windowTitle(), "Tarvex");
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_EQ(window.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
  EXPECT_EQ(window.trvMain().topLevelItemCount(), 0);
  EXPECT_EQ(window.lblFile().text(), "File:");
  EXPECT_TRUE(Text().isEmpty());
  EXPECT_TRUE(window.txtFile().isReadOnly());
  EXPECT_EQ(window.txtFile().palette().color(QPalette::Base),
            window.txtFile().palette().color(QPalette::Button));
  EXPECT_FALSE(window.mnuFileSaveAs().isEnabled());
  EXPECT_TRUE(window.mnuFileOpen().isEnabled());
  // The tree comes first in the tab order, the path field after it.
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.trvMain().setFocus();
  QTest::keyClick(&window.trvMain(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &window.txtFile());

  // The menu: captions, shortcut and separators in their order.
  ASSERT_EQ(window.menuBar()->actions().size(), 1);
  EXPECT_EQ(window.menuBar()->actions()[0]->text(), "&File");
  QStringList captions;
  for (const QAction* action : window.mnuFile().actions())
    captions << (action->isSeparator() ? "-" : action->text());
  EXPECT_EQ(captions, (QStringList{"&Open...", "-", "Save &As...", "-", "E&xit"}));
  EXPECT_EQ(window.mnuFileOpen().shortcut(), QKeySequence("Ctrl+O"));

  // cmnMain: loaded from its saved settings, only its filter differs from the defaults; 36 x 36 pixels.
  EXPECT_EQ(window.cmnMain().Filter(), "Project Files (*.vbp)|*.vbp");
  EXPECT_EQ(window.cmnMain().Copies(), 1);
  EXPECT_EQ(window.cmnMain().MaxFileSize(), 260);
  EXPECT_FLOAT_EQ(window.CmnMainContainer().WidthTwips(), 36 * qtui::TwipsPerPixelX());
  EXPECT_FLOAT_EQ(window.CmnMainContainer().HeightTwips(), 36 * qtui::TwipsPerPixelY());
}

TEST_F(MainWindowTest, OpensTheExampleProjectThroughTheOpenDialog) {
  Open(kDemo);
  const auto dialogs = runner.Seen("file");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].title, "Open");
  EXPECT_EQ(dialogs[0].acceptMode, QFileDialog::AcceptOpen);
  EXPECT_EQ(dialogs[0].nameFilters, QStringList{"Project Files (*.vbp) (*.vbp)"});
  EXPECT_TRUE(dialogs[0].modal);
  EXPECT_EQ(dialogs[0].owner, &window);
  EXPECT_TRUE(runner.Seen("message").empty());

  const std::vector<ShownNode> expected{
      {0, "p0", "TarvexDemo", 1, 1, true},   {1, "r1", "Forms", 5, 6, false},
      {2, "f0", "frmMain", 7, 7, false},     {2, "f1", "frmAbout", 7, 7, false},
      {1, "r2", "MDI Forms", 5, 6, false},   {2, "f2", "mdiShell", 8, 8, false},
      {1, "r3", "Modules", 5, 6, false},     {2, "f3", "modGlobals", 9, 9, false},
      {2, "f4", "modTools", 9, 9, false},    {1, "r4", "Class Modules", 5, 6, false},
      {2, "f5", "clsItem", 10, 10, false},   {1, "r5", "User Controls", 5, 6, false},
      {2, "f6", "ctlBadge", 11, 11, false},  {1, "r6", "PropertyPages", 5, 6, false},
      {2, "f7", "pagBadge", 12, 12, false},  {1, "r7", "User Documents", 5, 6, false},
      {2, "f8", "docHome", 13, 13, false},   {1, "r8", "Designers", 5, 6, false},
      {2, "f9", "dsgReport", 14, 14, false},
  };
  EXPECT_EQ(Shown(), expected);
  EXPECT_TRUE(window.mnuFileSaveAs().isEnabled());
  EXPECT_TRUE(window.trvMain().selectedItems().isEmpty()) << "the read selects no node";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // The pictures the nodes show are the image list's: normal, and the open folder while selected.
  const auto image = [](const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  };
  const auto& images = window.imltrvMain();
  for (const auto& node : expected) {
    const QIcon icon = window.Tree().Find(node.key)->icon(0);
    EXPECT_EQ(image(icon.pixmap(16, QIcon::Normal)), image(images.Picture(node.image))) << node.key;
    EXPECT_EQ(image(icon.pixmap(16, QIcon::Selected)), image(images.Picture(node.selectedImage))) << node.key;
  }
  EXPECT_EQ(images.Key(5), "FolderC");
  EXPECT_EQ(images.Key(6), "FolderO");
  EXPECT_EQ(images.Position("Designer"), 14);
  // Silver is the mask: the pictures' corners are transparent.
  EXPECT_EQ(images.Picture(5).toImage().pixelColor(0, 0).alpha(), 0);
}

TEST_F(MainWindowTest, ANodeClickShowsTheProjectPathNothingOrTheComponentsPath) {
  Open(kDemo);
  Click("p0");
  EXPECT_EQ(Text().toStdString(), WindowsPath(kDemo));
  EXPECT_EQ(Text().left(3), "Z:\\");
  Click("r3");
  EXPECT_EQ(Text(), "");
  Click("f4");
  EXPECT_EQ(Text(), "..\\Shared\\modTools.bas");
  Click("f0");
  EXPECT_EQ(Text(), "frmMain.frm");
  // Clicking the selected node again shows its path again.
  window.SetFileText("other");
  Click("f0");
  EXPECT_EQ(Text(), "frmMain.frm");
}

TEST_F(MainWindowTest, SaveAsFollowsTheReadsOutcomeAndAStaleTreeNeverFails) {
  EXPECT_FALSE(window.mnuFileSaveAs().isEnabled());
  Open(ModulesProject("Big", 14));
  EXPECT_TRUE(window.mnuFileSaveAs().isEnabled());

  const QString broken = work.filePath("Broken.vbp");
  Write(broken, "Module=A; a.bas\r\nForm=missing.frm\r\n");
  runner.answers.push_back(qttest::ChooseFile(broken));
  runner.answers.push_back(qttest::Ok());
  window.mnuFileOpen().trigger();
  EXPECT_FALSE(window.mnuFileSaveAs().isEnabled());
  const auto messages = runner.Seen("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Error.");
  EXPECT_EQ(messages[0].title, "Tarvex");
  EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the pointer is back before the message";

  // The tree still shows the first project; the model already holds the second's beginning.
  ASSERT_NE(window.Tree().Find("f13"), nullptr);
  window.SetFileText("before");
  Click("f13");
  EXPECT_EQ(Text(), "");
  Click("p0");
  EXPECT_EQ(Text().toStdString(), WindowsPath(broken));
}

TEST_F(MainWindowTest, AProjectNamedOnTheCommandLineIsReadAsOpenReadsIt) {
  const QString missing = work.filePath("Missing.vbp");
  const struct {
    QString argument;
    bool read;
  } cases[] = {
      {kDemo, true},
      {QDir::current().relativeFilePath(kDemo), true},
      {missing, false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument.toStdString());
    runner.seen.clear();
    if (!c.read) runner.answers.push_back(qttest::Ok());
    window.OpenCommandLineProject(c.argument.toStdString());
    EXPECT_TRUE(runner.answers.empty());
    EXPECT_EQ(window.mnuFileSaveAs().isEnabled(), c.read);
    EXPECT_TRUE(runner.Seen("file").empty());
    const auto messages = runner.Seen("message");
    if (c.read) {
      EXPECT_TRUE(messages.empty());
      Click("p0");
      EXPECT_EQ(Text().toStdString(), WindowsPath(kDemo));
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0].text, "Error.");
      EXPECT_EQ(messages[0].icon, QMessageBox::Critical);
    }
  }
}

TEST_F(MainWindowTest, CancelledDialogsDoNothing) {
  Open(kDemo);
  Click("f3");
  const auto before = Shown();
  const std::string fileName = window.cmnMain().FileName();

  runner.answers.push_back(qttest::Cancel());
  window.mnuFileOpen().trigger();
  EXPECT_EQ(window.cmnMain().LastError(), cmndlg::kCancelError);
  EXPECT_EQ(Shown(), before);
  EXPECT_EQ(Text(), "modGlobals.bas");
  EXPECT_TRUE(window.mnuFileSaveAs().isEnabled());
  EXPECT_EQ(window.cmnMain().FileName(), fileName);
  EXPECT_EQ(mdlFile::Model().filePath, fileName);

  runner.answers.push_back(qttest::Cancel());
  window.mnuFileSaveAs().trigger();
  EXPECT_TRUE(runner.Seen("message").empty());
  EXPECT_TRUE(QDir(work.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(MainWindowTest, SaveAsPacksTheProjectAndReportsInOneMessage) {
  Open(kDemo);
  const QString target = work.filePath("Packed.vbp");
  runner.answers.push_back(qttest::ChooseFile(target));
  runner.answers.push_back(qttest::Ok());
  window.mnuFileSaveAs().trigger();

  const auto dialogs = runner.Seen("file");
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[1].title, "Save As");
  EXPECT_EQ(dialogs[1].acceptMode, QFileDialog::AcceptSave);
  EXPECT_EQ(dialogs[1].selectedFiles, QStringList{QFileInfo(kDemo).absoluteFilePath()})
      << "Save As proposes the open project's file";
  const auto messages = runner.Seen("message");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Project saved.");
  EXPECT_EQ(messages[0].icon, QMessageBox::Information);
  EXPECT_EQ(messages[0].title, "Tarvex");

  const QStringList packed = QDir(work.path()).entryList(QDir::Files, QDir::Name);
  EXPECT_EQ(packed,
            (QStringList{"Packed.vbp", "clsItem.cls", "ctlBadge.ctl", "ctlBadge.ctx", "docHome.dob",
                         "dsgReport.dsa", "dsgReport.dsr", "dsgReport.dsx", "frmAbout.frm", "frmMain.frm",
                         "frmMain.frx", "mdiShell.frm", "modGlobals.bas", "modTools.bas", "pagBadge.pag"}));
  QFile project(target);
  ASSERT_TRUE(project.open(QIODevice::ReadOnly));
  EXPECT_TRUE(
      project.readAll().startsWith("Form=frmMain.frm\r\nForm=frmAbout.frm\r\nForm=mdiShell.frm\r\n"
                                   "Module=modGlobals; modGlobals.bas\r\nModule=modTools; modTools.bas\r\n"));

  // The next Open dialog proposes the packed file.
  runner.answers.push_back(qttest::Cancel());
  window.mnuFileOpen().trigger();
  EXPECT_EQ(runner.Seen("file").back().selectedFiles, QStringList{QFileInfo(target).absoluteFilePath()});
}

TEST_F(MainWindowTest, ALargeProjectIsShownWhole) {
  Open(ModulesProject("Large", 10000));
  ASSERT_EQ(window.trvMain().topLevelItemCount(), 1);
  const QTreeWidgetItem* modules = window.trvMain().topLevelItem(0)->child(0);
  ASSERT_EQ(modules->childCount(), 10000);
  EXPECT_EQ(qtui::QtTreeView::KeyOf(*modules->child(9999)), "f9999");
  EXPECT_EQ(window.Tree().Count(), 10002);
  Click("f9999");
  EXPECT_EQ(Text(), "m9999.bas");
}

TEST_F(MainWindowTest, ExitAndTheCloseBoxBothEndTheProgram) {
  window.mnuFileExit().trigger();
  EXPECT_EQ(endCalls, 1);
  EXPECT_FALSE(window.isVisible());

  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.close();  // the close box, or the system
  EXPECT_EQ(endCalls, 2);
}

}  // namespace
