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
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_host_paths.h"
#include "platform/posix/posix_text_files.h"
#include "platform/qt/qt_handles.h"
#include "program/qt/qt_main_window.h"
#include "project/mdl_file.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

const QString kDemoFolder = QStringLiteral(TARVEX_SOURCE_DIR "/examples/Demo");

// The window driven by the commands of main_window.txt; after each, the window's state.
TEST(QtMainWindow, FollowsTheScenarioFile) {
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  const auto codePage = posix::MakeCodePage(1252);
  posix::PosixTextFiles files(*codePage);
  posix::PosixPackFiles packFiles(*codePage);
  const posix::PosixHostPaths hostPaths(*codePage);
  qttest::ScriptedRunner runner;
  int endCalls = 0;
  qtui::QtMainWindow window({*codePage, hostPaths, files, packFiles, runner, [&] { ++endCalls; }});
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const cmndlg::CmnDlg& cmnMain = window.cmnMain();
  const qtui::QtImageList& images = window.imltrvMain();
  const auto Click = [&](const std::string& key) {
    QTreeWidgetItem* item = window.Tree().Find(key);
    ASSERT_NE(item, nullptr) << key;
    for (QTreeWidgetItem* parent = item->parent(); parent != nullptr; parent = parent->parent())
      parent->setExpanded(true);
    window.trvMain().scrollToItem(item);
    const QRect rect = window.trvMain().visualItemRect(item);
    ASSERT_TRUE(rect.isValid()) << key;
    QTest::mouseClick(window.trvMain().viewport(), Qt::LeftButton, {}, rect.center());
  };
  runner.Alias(work.path(), "%", *codePage);
  runner.Alias(kDemoFolder, "$", *codePage);
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
    } else if (command == "form") {  // as it is created
      QStringList menu = {window.menuBar()->actions().value(0)->text()}, icons;
      for (const QAction* action : window.mnuFile().actions())
        menu << (action->isSeparator() ? "-" : action->text());
      for (const QSize& size : window.windowIcon().availableSizes())
        icons << QString::asprintf("%dx%d", size.width(), size.height());
      const auto& palette = window.txtFile().palette();
      shown << QString::asprintf(
                   "title=%s icons=%s label=%s read-only=%d coloured-as-button=%d open=%d shortcut=%s",
                   qPrintable(window.windowTitle()), qPrintable(icons.join(',')),
                   qPrintable(window.lblFile().text()), window.txtFile().isReadOnly(),
                   palette.color(QPalette::Base) == palette.color(QPalette::Button),
                   window.mnuFileOpen().isEnabled(), qPrintable(window.mnuFileOpen().shortcut().toString()))
            << "menu=" + menu.join(' ')
            << QString::asprintf("cmnMain filter=%s copies=%d max-file-size=%d pixels=%gx%g",
                                 cmnMain.Filter().c_str(), cmnMain.Copies(), cmnMain.MaxFileSize(),
                                 window.CmnMainContainer().WidthTwips() / qtui::TwipsPerPixelX(),
                                 window.CmnMainContainer().HeightTwips() / qtui::TwipsPerPixelY())
            << QString::asprintf("imltrvMain Designer=%d 5=%s 6=%s mask-alpha=%d",
                                 images.Position("Designer"), images.Key(5).c_str(), images.Key(6).c_str(),
                                 images.Picture(5).toImage().pixelColor(0, 0).alpha());
    } else if (command == "tab") {  // from the tree
      window.activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
      window.trvMain().setFocus();
      QTest::keyClick(&window.trvMain(), Qt::Key_Tab);
      shown << (QApplication::focusWidget() == &window.txtFile() ? "focus=txtFile" : "focus=elsewhere");
    } else if (command == "exit" || command == "close") {  // the menu, or the close box
      window.show();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
      command == "exit" ? window.mnuFileExit().trigger() : static_cast<void>(window.close());
      shown << QString::asprintf("ended=%d visible=%d", endCalls, window.isVisible());
    } else if (command == "tree") {
      shown = qttest::ShownTree(window.trvMain(), images);
    } else if (command == "files") {
      shown = QDir(work.path()).entryList(QDir::Files, QDir::Name);
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
               qPrintable(window.txtFile().text()), window.mnuFileSaveAs().isEnabled() ? "on" : "off",
               static_cast<int>(window.trvMain().selectedItems().size()),
               QApplication::overrideCursor() != nullptr ? "changed" : "normal", window.Tree().Count(),
               cmnMain.FileName().c_str(), cmnMain.LastError(), mdlFile::Model().filePath.c_str());
  });
  QDir::setCurrent(before);
}

}  // namespace
