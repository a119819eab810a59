// The desktop program's window road: the Qt application, frmMain, and its event loop.
#include <QApplication>

#include "platform/qt/qt_main_window.h"
#include "program/main_window.h"

int ShowMainWindow(int argc, char** argv, posix::Host& host) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("tarvex");
  QGuiApplication::setDesktopFileName("tarvex");
  qtui::ExecDialogRunner dialogs;
  qtui::QtMainWindow window(
      {host.codePage(), host.files(), host.packFiles(), dialogs, [] { QCoreApplication::exit(0); }});
  window.show();
  return QApplication::exec();
}
