// frmMain on the Windows API: a comctl32 tree view with its image list, the label, the read-only path
// field, the menu and accelerator from the resources, and the invisible CmnDlg beside them.
#pragma once

// <commctrl.h> builds on <windows.h>.
#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "cmndlg/cmn_dlg.h"
#include "platform/control_container.h"
#include "platform/main_window.h"
#include "platform/pack_files.h"
#include "platform/text_files.h"
#include "platform/tree_view.h"
#include "platform/user_interface.h"
#include "platform/win32/win32_system_dialogs.h"

namespace win32 {

// The screen's twips per pixel (1440 twips make an inch).
float ScreenTwipsPerPixelX();
float ScreenTwipsPerPixelY();

// trvMain through the tree view's messages; node texts and keys are code-page bytes.
class Win32TreeView : public platform::TreeView {
 public:
  explicit Win32TreeView(HWND tree) : tree_(tree) {}
  void Clear() override;
  void Add(const std::string& relative, int32_t relationship, const std::string& key, const std::string& text,
           int32_t image, int32_t selectedImage) override;
  int32_t Count() const override { return static_cast<int32_t>(nodes_.size()); }
  std::string Key(int32_t position) const override;
  int32_t Children(int32_t position) const override;
  void Remove(int32_t position) override;
  void Expand(const std::string& key) override;
  // The key of a node of this tree, or empty.
  std::string KeyOf(HTREEITEM item) const;

 private:
  // The node at a position from 1; raises for a position outside the tree.
  HTREEITEM At(int32_t position) const;
  // The node with a key, or null; an empty key finds none.
  HTREEITEM Find(const std::string& key) const;

  struct Node {
    std::string key;
    HTREEITEM item;
  };
  HWND tree_;
  std::vector<Node> nodes_;  // in the order they were added
};

// The application-wide pointer: while the hourglass shows, every window of the program shows it.
class Win32Pointer : public platform::MousePointer {
 public:
  void Set(int32_t pointer) override;
  void StillBusy() override;
  bool Hourglass() const { return hourglass_; }

 private:
  bool hourglass_ = false;
  DWORD lastRepaint_ = 0;  // GetTickCount when the windows last repainted
};

class Win32MessageBox : public platform::MessageBox {
 public:
  explicit Win32MessageBox(HWND owner) : owner_(owner) {}
  void Show(const std::string& text, int32_t style, const std::string& caption) override;

 private:
  HWND owner_;
};

class Win32MenuCommand : public platform::MenuCommand {
 public:
  Win32MenuCommand(HWND window, UINT id) : window_(window), id_(id) {}
  void SetEnabled(bool enabled) override;

 private:
  HWND window_;
  UINT id_;
};

// The form as CmnDlg's container: the control is invisible, so it draws on a bitmap of its own.
class Win32ControlContainer : public platform::ControlContainer {
 public:
  explicit Win32ControlContainer(HWND form);
  ~Win32ControlContainer() override;
  Win32ControlContainer(const Win32ControlContainer&) = delete;
  Win32ControlContainer& operator=(const Win32ControlContainer&) = delete;

  // Loads the control from its saved settings and lets it size itself, as the form does at creation.
  void Load(cmndlg::CmnDlg& control, const std::string& savedSettings);

  void PropertyChanged(const std::string&) override {}
  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t systemColor) override;
  void SetWidth(float twips) override { widthTwips_ = twips; }
  void SetHeight(float twips) override { heightTwips_ = twips; }
  float TwipsPerPixelX() override { return ScreenTwipsPerPixelX(); }
  float TwipsPerPixelY() override { return ScreenTwipsPerPixelY(); }
  int32_t ParentHwnd() override;
  platform::Handle InstanceHandle() override;
  platform::Handle SurfaceHdc() override;

 private:
  HWND form_;
  HDC surface_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ originalBitmap_ = nullptr;
  float widthTwips_ = 0;
  float heightTwips_ = 0;
};

// The window and everything it owns. One exists while the program shows its window.
class Win32MainWindow : public platform::MainWindow {
 public:
  // The files are the host's: the window reads and packs through them.
  Win32MainWindow(HINSTANCE instance, platform::TextFiles& files, platform::PackFiles& packFiles);
  ~Win32MainWindow() override;
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;

  // Shows the window, reads the project named on the command line (as written there) if there is one,
  // and runs its messages until the program ends; returns the exit status.
  int Run(int showCommand, const std::optional<std::string>& projectFile);

  void SetFileText(const std::string& text) override;
  void Unload() override;
  void EndProgram() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  // Places the controls for a client area of this many pixels, as the form's layout says.
  void LayOut(int clientWidth, int clientHeight);
  void NodeClicked(HTREEITEM item);
  // Runs a handler; an error it lets through is told in a message box rather than lost.
  template <typename Handler>
  void Route(Handler handler);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HWND trvMain_ = nullptr;
  HWND lblFile_ = nullptr;
  HWND txtFile_ = nullptr;
  HIMAGELIST imltrvMain_ = nullptr;
  HICON icon16_ = nullptr;
  HICON icon32_ = nullptr;
  HFONT font_ = nullptr;
  HBRUSH faceBrush_ = nullptr;
  HACCEL accelerators_ = nullptr;
  platform::TextFiles& files_;
  platform::PackFiles& packFiles_;
  Win32SystemDialogs dialogs_;
  Win32Pointer pointer_;
  std::unique_ptr<Win32TreeView> tree_;
  std::unique_ptr<Win32MessageBox> messages_;
  std::unique_ptr<Win32MenuCommand> saveAs_;
  std::unique_ptr<Win32ControlContainer> container_;
  std::unique_ptr<cmndlg::CmnDlg> cmnMain_;
  std::unique_ptr<frmMain::Form> form_;
  bool ended_ = false;
};

}  // namespace win32
