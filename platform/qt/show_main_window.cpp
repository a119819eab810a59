// The desktop program's window road: the Qt application, frmMain, and its event loop.
#include <QApplication>
#include <QTimer>

#include "platform/posix/code_pages.h"
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_text_files.h"
#include "platform/qt/qt_main_window.h"
#include "program/main_window.h"

int ShowMainWindow(int argc, char** argv, const std::optional<std::string>& projectFile) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("tarvex");
  QGuiApplication::setDesktopFileName("tarvex");
  const auto codePage = posix::SystemCodePage();
  posix::PosixTextFiles files(*codePage);
  posix::PosixPackFiles packFiles(*codePage);
  qtui::ExecDialogRunner dialogs;
  qtui::QtMainWindow window({*codePage, files, packFiles, dialogs, [] { QCoreApplication::exit(0); }});
  window.show();
  // Read from the event loop, so the window is on the screen before the read and its message.
  if (projectFile) {
    QTimer::singleShot(0, &window, [&window, &projectFile] { window.OpenCommandLineProject(*projectFile); });
  }
  return QApplication::exec();
}
