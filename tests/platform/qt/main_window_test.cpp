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

// The window driven by the commands of main_window.txt; after each, the window's state.
TEST_F(MainWindowTest, FollowsTheScenarioFile) {
  runner.aliases.emplace_back(QString::fromStdString(WindowsPath(work.path())), "%");
  runner.aliases.emplace_back(QString::fromStdString(WindowsPath(kDemoFolder)), "$");
  const QString before = QDir::currentPath();
  QDir::setCurrent(kDemoFolder);  // where a relative name on the command line is found
  qttest::ExpectTranscript("main_window.txt", runner, [&](const QString& command, QString argument) {
    argument = runner.Host(argument);
    QStringList shown;
    if (command == "open" || command == "saveas") {
      (command == "open" ? window.mnuFileOpen() : window.mnuFileSaveAs()).trigger();
    } else if (command == "cmdline") {
      window.OpenCommandLineProject(argument.toStdString());
    } else if (command == "click") {
      window.SetFileText("other");
      Click(argument.toStdString());
    } else if (command == "tree") {
      shown = Shown().split('\n', Qt::SkipEmptyParts);
    } else if (command == "files") {
      shown = QDir(work.path()).entryList(QDir::Files, QDir::Name);
    } else if (command == "head") {
      shown = QString::fromUtf8(Read(argument)).split("\r\n").mid(0, 5);
    } else {  // write NAME TEXT, or modules NAME COUNT: that many modules added to a project
      EXPECT_TRUE(command == "write" || command == "modules") << command.toStdString();
      QFile file(work.filePath(argument.section(' ', 0, 0)));
      EXPECT_TRUE(file.open(command == "write" ? QIODevice::WriteOnly : QIODevice::Append));
      QString text = argument.section(' ', 1);
      if (command == "write") file.write(text.replace("\\r\\n", "\r\n").toUtf8());
      for (int i = 0; command == "modules" && i < text.toInt(); ++i)
        file.write(QString("Module=M%1; m%1.bas\r\n").arg(i).toUtf8());
    }
    return shown << QString::asprintf(
               "text=%s saveas=%s selected=%d cursor=%s nodes=%d cmnMain=%s error=%d model=%s",
               qPrintable(Text()), window.mnuFileSaveAs().isEnabled() ? "on" : "off",
               static_cast<int>(window.trvMain().selectedItems().size()),
               QApplication::overrideCursor() != nullptr ? "changed" : "normal",
               static_cast<int>(window.Tree().Count()), window.cmnMain().FileName().c_str(),
               static_cast<int>(window.cmnMain().LastError()), mdlFile::Model().filePath.c_str());
  });
  QDir::setCurrent(before);
}

// The pictures the nodes show are the image list's: normal, and the open folder while selected.
TEST_F(MainWindowTest, NodesShowTheImageListsPictures) {
  runner.answers = {"choose " + kDemo};
  window.mnuFileOpen().trigger();
  const auto image = [](const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  };
  const auto& images = window.imltrvMain();
  ASSERT_EQ(window.Tree().Count(), 19);
  for (int32_t position = 1; position <= window.Tree().Count(); ++position) {
    const QTreeWidgetItem* node = window.Tree().Find(window.Tree().Key(position));
    EXPECT_EQ(image(node->icon(0).pixmap(16, QIcon::Normal)),
              image(images.Picture(node->data(0, qtui::kImageRole).toInt())));
    EXPECT_EQ(image(node->icon(0).pixmap(16, QIcon::Selected)),
              image(images.Picture(node->data(0, qtui::kSelectedImageRole).toInt())));
  }
  EXPECT_EQ(images.Position("Designer"), 14);
  EXPECT_EQ(images.Picture(5).toImage().pixelColor(0, 0).alpha(), 0) << "silver is the mask";
}

}  // namespace
