// frmMain on Qt: the widgets, the menu, and the routing of their events to the form's handlers.
#pragma once

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/frm_main.h"
#include "cmndlg/cmn_dlg.h"
#include "platform/code_page.h"
#include "platform/host_paths.h"
#include "platform/main_window.h"
#include "platform/pack_files.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_image_list.h"
#include "platform/qt/qt_system_dialogs.h"
#include "platform/qt/qt_tree_view.h"
#include "platform/qt/qt_user_interface.h"
#include "platform/text_files.h"
#include "program/qt/qt_control_container.h"
#include "program/qt/qt_pictures.h"

namespace qtui {

// What the window works with; every part must outlive it.
struct WindowServices {
  const platform::CodePage& codePage;
  const platform::HostPaths& hostPaths;
  platform::TextFiles& files;
  platform::PackFiles& packFiles;
  DialogRunner& dialogs;
  // Ends the program; the program's own road quits the event loop.
  std::function<void()> endProgram;
};

class QtMainWindow : public QMainWindow, public platform::MainWindow {
 public:
  explicit QtMainWindow(const WindowServices& services);
  ~QtMainWindow() override;

  // platform::MainWindow
  void SetFileText(const std::string& text) override;
  void Unload() override { close(); }
  void EndProgram() override { services_.endProgram(); }

  // Reads the project named on the command line (a host path, absolute or relative to the current
  // folder), as "&Open..." would read the file chosen in its dialog.
  void OpenCommandLineProject(const std::string& hostPath);

  // The controls, by their names.
  QTreeWidget& trvMain() { return *trvMain_; }
  QLabel& lblFile() { return *lblFile_; }
  QLineEdit& txtFile() { return *txtFile_; }
  QAction& mnuFileOpen() { return *mnuFileOpen_; }
  QAction& mnuFileSaveAs() { return *mnuFileSaveAs_; }
  QAction& mnuFileExit() { return *mnuFileExit_; }
  QMenu& mnuFile() { return *mnuFile_; }
  cmndlg::CmnDlg& cmnMain() { return *cmnMain_; }
  QtTreeView& Tree() { return *tree_; }
  const QtImageList& imltrvMain() const { return images_; }
  QtControlContainer& CmnMainContainer() { return *container_; }
  QWidget& ClientArea() { return *client_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void CreateMenu();
  void ApplyLayout();
  // Runs a handler; an error it lets through is reported on standard error rather than left to Qt.
  void Route(const std::function<void()>& handler);
  void NodeClicked(const QTreeWidgetItem* item);

  WindowServices services_;
  QWidget* client_ = nullptr;
  QTreeWidget* trvMain_ = nullptr;
  QLabel* lblFile_ = nullptr;
  QLineEdit* txtFile_ = nullptr;
  QMenu* mnuFile_ = nullptr;
  QAction* mnuFileOpen_ = nullptr;
  QAction* mnuFileSaveAs_ = nullptr;
  QAction* mnuFileExit_ = nullptr;
  QtImageList images_ = TreeImageList();
  std::unique_ptr<QtTreeView> tree_;
  QtPointer pointer_;
  std::unique_ptr<QtMessageBox> messages_;
  std::unique_ptr<QtMenuCommand> saveAsCommand_;
  std::unique_ptr<QtSystemDialogs> systemDialogs_;
  std::unique_ptr<QtControlContainer> container_;
  std::unique_ptr<cmndlg::CmnDlg> cmnMain_;
  std::unique_ptr<frmMain::Form> form_;
};

}  // namespace qtui
