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

const QString kDemoFolder = QStringLiteral(TARVEX_SOURCE_DIR "/examples/Demo");
const QString kDemo = kDemoFolder + "/Demo.vbp";
// How the window's dialogs begin, as the test's runner shows them.
const std::string kFilter =
    " mode=0 filters=[Project Files (*.vbp) (*.vbp)] selected=[Project Files (*.vbp)] ";
const std::string kOpen = "QFileDialog \"Open\" owner=QMainWindow modal open" + kFilter;
const std::string kSaveAs = "QFileDialog \"Save As\" owner=QMainWindow modal save" + kFilter;
const std::string kMessage = "QMessageBox \"Tarvex\" owner=QMainWindow modal ";

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(work.isValid());
    runner.aliases = {{work.path(), "%"}, {kDemoFolder, "$"}, {QDir::currentPath(), "(current)"}};
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  std::string WindowsPath(const QString& host) const {
    return *posix::WindowsFromHost(QFileInfo(host).absoluteFilePath().toStdString(), *codePage);
  }

  // The tree as shown, a node a line: indented by depth, key, text, pictures, and whether expanded.
  QString Shown() {
    QString shown;
    const std::function<void(const QTreeWidgetItem*, int)> add = [&](const QTreeWidgetItem* item, int depth) {
      shown += QString("%1%2 %3 %4/%5%6\n")
                   .arg(QString(depth * 2, ' '), qtui::QtTreeView::KeyOf(*item).c_str(), item->text(0))
                   .arg(item->data(0, qtui::kImageRole).toInt())
                   .arg(item->data(0, qtui::kSelectedImageRole).toInt())
                   .arg(item->isExpanded() ? " expanded" : "");
      for (int i = 0; i < item->childCount(); ++i) add(item->child(i), depth + 1);
    };
    for (int i = 0; i < window.trvMain().topLevelItemCount(); ++i) add(window.trvMain().topLevelItem(i), 0);
    return shown;
  }

  // Runs a menu command with the dialogs it shows answered in turn; returns the lines they showed.
  std::string Run(QAction& command, std::deque<QString> answers) {
    runner.seen.clear();
    runner.answers = std::move(answers);
    command.trigger();
    EXPECT_TRUE(runner.answers.empty());
    return runner.seen.join('\n').toStdString();
  }

  void Click(const std::string& key) {
    QTreeWidgetItem* item = window.Tree().Find(key);
    ASSERT_NE(item, nullptr) << key;
    for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent())
      parent->setExpanded(true);
    window.trvMain().scrollToItem(item);
    const QRect rect = window.trvMain().visualItemRect(item);
    ASSERT_TRUE(rect.isValid()) << key;
    QTest::mouseClick(window.trvMain().viewport(), Qt::LeftButton, {}, rect.center());
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

TEST_F(MainWindowTest, StartsAsTheFormIsCreatedAndEndsByExitOrTheCloseBox) {
  EXPECT_EQ(window.windowTitle(), "Tarvex");
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
  QStringList captions{window.menuBar()->actions()[0]->text()};
  for (const QAction* action : window.mnuFile().actions())
    captions << (action->isSeparator() ? "-" : action->text());
  EXPECT_EQ(captions, (QStringList{"&File", "&Open...", "-", "Save &As...", "-", "E&xit"}));
  EXPECT_EQ(window.mnuFileOpen().shortcut(), QKeySequence("Ctrl+O"));

  // cmnMain: loaded from its saved settings, only its filter differs from the defaults; 36 x 36 pixels.
  auto& cmnMain = window.cmnMain();
  EXPECT_EQ(cmnMain.Filter(), "Project Files (*.vbp)|*.vbp");
  EXPECT_EQ(cmnMain.Copies(), 1);
  EXPECT_EQ(cmnMain.MaxFileSize(), 260);
  EXPECT_FLOAT_EQ(window.CmnMainContainer().WidthTwips(), 36 * qtui::TwipsPerPixelX());
  EXPECT_FLOAT_EQ(window.CmnMainContainer().HeightTwips(), 36 * qtui::TwipsPerPixelY());
  // A font read back unchanged keeps its size, and the flags gain cdlCFInitToLogFontStruct.
  for (const int size : {8, 10}) {
    cmnMain.setFontSize(size);
    runner.answers = {"ok"};
    cmnMain.ShowFont();
    EXPECT_EQ(cmnMain.LastError(), 0);
    EXPECT_EQ(cmnMain.FontSize(), size);
    EXPECT_NE(cmnMain.flags() & 0x40, 0);
  }
  runner.answers = {"cancel"};
  cmnMain.ShowColor();
  EXPECT_EQ(cmnMain.LastError(), cmndlg::kCancelError);

  window.mnuFileExit().trigger();
  EXPECT_EQ(endCalls, 1);
  EXPECT_FALSE(window.isVisible());
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.close();  // the close box, or the system
  EXPECT_EQ(endCalls, 2);
}

TEST_F(MainWindowTest, OpensTheExampleShowsItsPathsAndPacksIt) {
  EXPECT_EQ(Run(window.mnuFileOpen(), {"choose " + kDemo}),
            kOpen + "dir=(current) files=[(current)] readonly=off quiet");
  EXPECT_EQ(Shown(), Read(TARVEX_SOURCE_DIR "/tests/data/windows/demo_tree.txt"));
  EXPECT_TRUE(window.mnuFileSaveAs().isEnabled());
  EXPECT_TRUE(window.trvMain().selectedItems().isEmpty()) << "the read selects no node";
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // The pictures the nodes show are the image list's: normal, and the open folder while selected.
  const auto image = [](const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  };
  const auto& images = window.imltrvMain();
  for (int32_t position = 1; position <= window.Tree().Count(); ++position) {
    const QTreeWidgetItem* node = window.Tree().Find(window.Tree().Key(position));
    EXPECT_EQ(image(node->icon(0).pixmap(16, QIcon::Normal)),
              image(images.Picture(node->data(0, qtui::kImageRole).toInt())));
    EXPECT_EQ(image(node->icon(0).pixmap(16, QIcon::Selected)),
              image(images.Picture(node->data(0, qtui::kSelectedImageRole).toInt())));
  }
  EXPECT_EQ(images.Position("Designer"), 14);
  EXPECT_EQ(images.Picture(5).toImage().pixelColor(0, 0).alpha(), 0) << "silver is the mask";

  // A node shows the project's path, nothing, or the component's path; a click on the selected one again too.
  for (const auto& [key, text] : {std::pair<std::string, std::string>{"p0", WindowsPath(kDemo)},
                                  {"r3", ""},
                                  {"f4", "..\\Shared\\modTools.bas"},
                                  {"f0", "frmMain.frm"},
                                  {"f0", "frmMain.frm"}}) {
    window.SetFileText("other");
    Click(key);
    EXPECT_EQ(Text().toStdString(), text) << key;
  }
  EXPECT_EQ(WindowsPath(kDemo).substr(0, 3), "Z:\\");

  // Cancelled dialogs do nothing.
  const QString tree = Shown();
  const std::string fileName = window.cmnMain().FileName();
  Run(window.mnuFileOpen(), {"cancel"});
  EXPECT_EQ(window.cmnMain().LastError(), cmndlg::kCancelError);
  EXPECT_EQ(Shown(), tree);
  EXPECT_EQ(Text(), "frmMain.frm");
  EXPECT_TRUE(window.mnuFileSaveAs().isEnabled());
  EXPECT_EQ(window.cmnMain().FileName(), fileName);
  EXPECT_EQ(mdlFile::Model().filePath, fileName);
  EXPECT_NE(Run(window.mnuFileSaveAs(), {"cancel"}), "");
  EXPECT_TRUE(QDir(work.path()).entryList(QDir::Files).isEmpty());

  // Save As proposes the open project's file, packs, and reports in one message.
  EXPECT_EQ(
      Run(window.mnuFileSaveAs(), {"choose %/Packed.vbp", "ok"}),
      kSaveAs + "dir=$ files=[$/Demo.vbp] readonly=none quiet\n" + kMessage + "information: Project saved.");
  EXPECT_EQ(QDir(work.path()).entryList(QDir::Files, QDir::Name),
            (QStringList{"Packed.vbp", "clsItem.cls", "ctlBadge.ctl", "ctlBadge.ctx", "docHome.dob",
                         "dsgReport.dsa", "dsgReport.dsr", "dsgReport.dsx", "frmAbout.frm", "frmMain.frm",
                         "frmMain.frx", "mdiShell.frm", "modGlobals.bas", "modTools.bas", "pagBadge.pag"}));
  EXPECT_TRUE(Read(work.filePath("Packed.vbp"))
                  .startsWith("Form=frmMain.frm\r\nForm=frmAbout.frm\r\nForm=mdiShell.frm\r\n"
                              "Module=modGlobals; modGlobals.bas\r\nModule=modTools; modTools.bas\r\n"));
  // The next Open dialog proposes the packed file.
  EXPECT_EQ(Run(window.mnuFileOpen(), {"cancel"}), kOpen + "dir=% files=[%/Packed.vbp] readonly=off quiet");
}

TEST_F(MainWindowTest, AFailedReadTurnsSaveAsOffAndKeepsTheShownTreeHarmless) {
  QByteArray text = "Type=OleDll\r\nName=\"Large\"\r\n";  // modules only: no component file has to exist
  for (int i = 0; i < 10000; ++i)
    text += "Module=M" + QByteArray::number(i) + "; m" + QByteArray::number(i) + ".bas\r\n";
  QFile large(work.filePath("Large.vbp")), broken(work.filePath("Broken.vbp"));
  ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.write(text) > 0 && broken.open(QIODevice::WriteOnly));
  broken.write("Module=A; a.bas\r\nForm=missing.frm\r\n");
  large.close(), broken.close();

  Run(window.mnuFileOpen(), {"choose %/Large.vbp"});
  EXPECT_TRUE(window.mnuFileSaveAs().isEnabled());
  ASSERT_EQ(window.trvMain().topLevelItemCount(), 1);
  EXPECT_EQ(window.trvMain().topLevelItem(0)->child(0)->childCount(), 10000)
      << "a large project is shown whole";
  EXPECT_EQ(window.Tree().Count(), 10002);
  Click("f9999");
  EXPECT_EQ(Text(), "m9999.bas");

  const std::string error = kMessage + "critical: Error.";
  EXPECT_EQ(Run(window.mnuFileOpen(), {"choose %/Broken.vbp", "ok"}),
            kOpen + "dir=% files=[%/Large.vbp] readonly=off quiet\n" + error);
  EXPECT_FALSE(window.mnuFileSaveAs().isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the pointer is back before the message";
  // The tree still shows the first project; the model already holds the second's beginning.
  window.SetFileText("before");
  Click("f13");
  EXPECT_EQ(Text(), "");
  Click("p0");
  EXPECT_EQ(Text().toStdString(), WindowsPath(broken.fileName()));

  // A project named on the command line is read as Open reads it, without a dialog.
  for (const QString& argument :
       {kDemo, QDir::current().relativeFilePath(kDemo), work.filePath("Missing.vbp"), QString()}) {
    const bool read = argument.endsWith("Demo.vbp");
    runner.seen.clear();
    runner.answers = read ? std::deque<QString>{} : std::deque<QString>{"ok"};
    window.OpenCommandLineProject(argument.toStdString());
    EXPECT_EQ(runner.seen.join('\n').toStdString(), read ? "" : error) << argument.toStdString();
    EXPECT_EQ(window.mnuFileSaveAs().isEnabled(), read);
    if (!read) continue;
    Click("p0");
    EXPECT_EQ(Text().toStdString(), WindowsPath(kDemo));
  }
}

}  // namespace
