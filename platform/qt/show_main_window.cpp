// The desktop program's window road: the Qt application, frmMain, and its event loop.
#include <QApplication>

#include "platform/posix/code_pages.h"
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_text_files.h"
#include "platform/qt/qt_main_window.h"
#include "program/main_window.h"

int ShowMainWindow(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("tarvex");
  QGuiApplication::setDesktopFileName("tarvex");
  const auto codePage = posix::SystemCodePage();
  posix::PosixTextFiles files(*codePage);
  posix::PosixPackFiles packFiles(*codePage);
  qtui::ExecDialogRunner dialogs;
  qtui::QtMainWindow window({*codePage, files, packFiles, dialogs, [] { QCoreApplication::exit(0); }});
  window.show();
  return QApplication::exec();
}
