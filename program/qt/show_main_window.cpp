// The desktop program's window road: the Qt application, frmMain, and its event loop.
#include <QApplication>
#include <QTimer>

#include "platform/posix/posix_host_paths.h"
#include "program/posix/main_window.h"
#include "program/qt/qt_main_window.h"

int ShowMainWindow(int argc, char** argv, posix::Host& host, const std::optional<std::string>& projectFile) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("tarvex");
  QGuiApplication::setDesktopFileName("tarvex");
  qtui::ExecDialogRunner dialogs;
  const posix::PosixHostPaths hostPaths(host.codePage());
  qtui::QtMainWindow window({host.codePage(), hostPaths, host.files(), host.packFiles(), dialogs,
                             [] { QCoreApplication::exit(0); }});
  window.show();
  // Read from the event loop, so the window is on the screen before the read and its message.
  if (projectFile) {
    QTimer::singleShot(0, &window, [&window, &projectFile] { window.OpenCommandLineProject(*projectFile); });
  }
  return QApplication::exec();
}
