// frmMain on Qt: creates the controls and the menu, lays them out in twips, and hands every event to
// the form's handlers.
#include "program/qt/qt_main_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <cmath>
#include <filesystem>
#include <iostream>

#include "app/frm_main_layout.h"
#include "cmndlg/main_window_settings.h"
#include "platform/qt/qt_handles.h"
#include "platform/qt/qt_text.h"

namespace qtui {

namespace {

// The window's client area, telling the window when its size changed.
class ClientWidget : public QWidget {
 public:
  ClientWidget(QWidget* parent, std::function<void()> resized)
      : QWidget(parent), resized_(std::move(resized)) {}

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    resized_();
  }

 private:
  std::function<void()> resized_;
};

int PixelsX(int32_t twips) {
  return static_cast<int>(std::lround(twips / TwipsPerPixelX()));
}
int PixelsY(int32_t twips) {
  return static_cast<int>(std::lround(twips / TwipsPerPixelY()));
}
int32_t TwipsX(int pixels) {
  return static_cast<int32_t>(std::lround(pixels * TwipsPerPixelX()));
}
int32_t TwipsY(int pixels) {
  return static_cast<int32_t>(std::lround(pixels * TwipsPerPixelY()));
}

QRect Pixels(const frmMain::TwipRect& rect) {
  return {PixelsX(rect.left), PixelsY(rect.top), PixelsX(rect.width), PixelsY(rect.height)};
}

}  // namespace

QtMainWindow::QtMainWindow(const WindowServices& services) : services_(services) {
  setWindowTitle("Tarvex");
  setWindowIcon(WindowIcon());
  CreateControls();
  CreateMenu();

  tree_ = std::make_unique<QtTreeView>(*trvMain_, images_, services_.codePage);
  messages_ = std::make_unique<QtMessageBox>(this, services_.dialogs, services_.codePage);
  saveAsCommand_ = std::make_unique<QtMenuCommand>(*mnuFileSaveAs_);
  systemDialogs_ =
      std::make_unique<QtSystemDialogs>(this, services_.dialogs, services_.codePage, services_.hostPaths);
  container_ = std::make_unique<QtControlContainer>();
  cmnMain_ = std::make_unique<cmndlg::CmnDlg>(*container_, *systemDialogs_);
  container_->Load(*cmnMain_, cmndlg::MainWindowSettings());
  form_ = std::make_unique<frmMain::Form>(frmMain::Form{
      *this,
      *cmnMain_,
      mdlFile::ReaderContext{services_.files, pointer_, *messages_, *tree_, *saveAsCommand_},
      mdlFile::PackContext{services_.packFiles, pointer_, *messages_},
  });

  // The client area at its created size; the menu bar stands above it.
  client_->setMinimumSize(PixelsX(frmMain::kMinClientWidth), PixelsY(frmMain::kMinClientHeight));
  resize(PixelsX(frmMain::kClientWidth), PixelsY(frmMain::kClientHeight) + menuBar()->sizeHint().height());
  client_->resize(PixelsX(frmMain::kClientWidth), PixelsY(frmMain::kClientHeight));
  ApplyLayout();
}

QtMainWindow::~QtMainWindow() {
  // The widgets outlive the form's handlers; let none of their last signals reach them.
  trvMain_->disconnect(this);
  tree_->Clear();
}

void QtMainWindow::CreateControls() {
  client_ = new ClientWidget(this, [this] { ApplyLayout(); });
  setCentralWidget(client_);

  trvMain_ = new QTreeWidget(client_);
  trvMain_->setObjectName("trvMain");
  trvMain_->setHeaderHidden(true);
  trvMain_->setColumnCount(1);
  trvMain_->setUniformRowHeights(true);
  trvMain_->setSelectionMode(QAbstractItemView::SingleSelection);
  trvMain_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  trvMain_->setIconSize(QSize(resources::kTreePictureSize, resources::kTreePictureSize));
  trvMain_->setRootIsDecorated(true);

  lblFile_ = new QLabel("File:", client_);
  lblFile_->setObjectName("lblFile");

  txtFile_ = new QLineEdit(client_);
  txtFile_->setObjectName("txtFile");
  txtFile_->setReadOnly(true);
  QPalette palette = txtFile_->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Button));
  txtFile_->setPalette(palette);

  setTabOrder(trvMain_, txtFile_);
  trvMain_->setFocus();

  // A click shows the node's path, also on the node already selected; a selection made with the
  // keyboard does the same.
  connect(trvMain_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item, int) { Route([&] { NodeClicked(item); }); });
  connect(trvMain_, &QTreeWidget::itemSelectionChanged, this, [this] {
    const auto selected = trvMain_->selectedItems();
    if (!selected.isEmpty()) Route([&] { NodeClicked(selected.front()); });
  });
}

void QtMainWindow::CreateMenu() {
  mnuFile_ = menuBar()->addMenu("&File");
  mnuFile_->setObjectName("mnuFile");
  mnuFileOpen_ = mnuFile_->addAction("&Open...");
  mnuFileOpen_->setObjectName("mnuFileOpen");
  mnuFileOpen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  mnuFile_->addSeparator()->setObjectName("mnuFile1");
  mnuFileSaveAs_ = mnuFile_->addAction("Save &As...");
  mnuFileSaveAs_->setObjectName("mnuFileSaveAs");
  mnuFileSaveAs_->setEnabled(false);
  mnuFile_->addSeparator()->setObjectName("mnuFile2");
  mnuFileExit_ = mnuFile_->addAction("E&xit");
  mnuFileExit_->setObjectName("mnuFileExit");

  connect(mnuFileOpen_, &QAction::triggered, this,
          [this] { Route([&] { frmMain::mnuFileOpen_Click(*form_); }); });
  connect(mnuFileSaveAs_, &QAction::triggered, this,
          [this] { Route([&] { frmMain::mnuFileSaveAs_Click(*form_); }); });
  connect(mnuFileExit_, &QAction::triggered, this,
          [this] { Route([&] { frmMain::mnuFileExit_Click(*form_); }); });
}

void QtMainWindow::ApplyLayout() {
  const frmMain::FrmMainLayout layout =
      frmMain::LayoutFor(TwipsX(client_->width()), TwipsY(client_->height()));
  trvMain_->setGeometry(Pixels(layout.trvMain));
  lblFile_->setGeometry(Pixels(layout.lblFile));
  txtFile_->setGeometry(Pixels(layout.txtFile));
}

void QtMainWindow::SetFileText(const std::string& text) {
  txtFile_->setText(Shown(services_.codePage, text));
  txtFile_->setCursorPosition(0);
}

void QtMainWindow::OpenCommandLineProject(const std::string& hostPath) {
  // The Z: form of the absolute path, as the Open dialog returns it. A path that cannot be written in
  // the code page becomes the empty one, which the reader fails on as on a missing file.
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(hostPath, error);
  std::string path;
  if (!error) path = services_.hostPaths.WindowsFromHost(absolute.lexically_normal().string()).value_or("");
  Route([&] { frmMain::OpenCommandLineProject(*form_, path); });
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  Route([&] { frmMain::Form_Unload(*form_); });
}

void QtMainWindow::NodeClicked(const QTreeWidgetItem* item) {
  if (item != nullptr) frmMain::trvMain_NodeClick(*form_, QtTreeView::KeyOf(*item));
}

void QtMainWindow::Route(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    std::cerr << "tarvex: " << error.what() << '\n';
  }
  tree_->Flush();
}

}  // namespace qtui
