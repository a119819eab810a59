// frmMain on the Windows API: creates the controls in twips, routes menu, accelerator and tree events
// to the form's handlers, and ends the program when the window is destroyed.
#include "program/win32/win32_main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <iostream>
#include <stdexcept>
#include <utility>

#include "app/frm_main_layout.h"
#include "cmndlg/main_window_settings.h"
#include "cmndlg/property_bag_text.h"
#include "platform/errors.h"
#include "platform/win32/win32_files.h"
#include "program/win32/resource_ids.h"
#include "resources/tree_pictures.h"

namespace win32 {

namespace {

const char* const kWindowClass = "TarvexFrmMain";
// The controls clip the window's own painting, so that erasing a grown window does not wipe the label.
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

float TwipsPerPixel(int index) {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, index) : 96;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return 1440.0f / static_cast<float>(dpi > 0 ? dpi : 96);
}

int PixelsX(int32_t twips) {
  return static_cast<int>(std::lround(twips / ScreenTwipsPerPixelX()));
}
int PixelsY(int32_t twips) {
  return static_cast<int>(std::lround(twips / ScreenTwipsPerPixelY()));
}
int32_t TwipsX(int pixels) {
  return static_cast<int32_t>(std::lround(pixels * ScreenTwipsPerPixelX()));
}
int32_t TwipsY(int pixels) {
  return static_cast<int32_t>(std::lround(pixels * ScreenTwipsPerPixelY()));
}

// The outer size of a window of this style whose client area is so many twips.
SIZE FrameFor(int32_t clientWidth, int32_t clientHeight, DWORD style, bool menu) {
  RECT frame{0, 0, PixelsX(clientWidth), PixelsY(clientHeight)};
  ::AdjustWindowRect(&frame, style, menu);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// A top-down 24-bit bitmap of the picture, the mask colour kept where the picture is transparent.
HBITMAP BitmapOf(const resources::PixelArt& art, HDC screen) {
  const int size = art.Size();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const char pixel = x < static_cast<int>(art.rows[y].size()) ? art.rows[y][x] : resources::kMaskPixel;
      const resources::Rgb colour = resources::PaletteColour(pixel);
      pixels[y * size + x] = (static_cast<uint32_t>(colour.red) << 16) | (colour.green << 8) | colour.blue;
    }
  }
  return bitmap;
}

// An icon of the picture: the mask colour is transparent.
HICON IconOf(const resources::PixelArt& art) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP colour = BitmapOf(art, screen);
  ::ReleaseDC(nullptr, screen);
  const int size = art.Size();
  std::vector<uint8_t> maskBits(static_cast<std::size_t>((size + 15) / 16 * 2 * size), 0);
  const int stride = (size + 15) / 16 * 2;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const char pixel = x < static_cast<int>(art.rows[y].size()) ? art.rows[y][x] : resources::kMaskPixel;
      if (resources::PaletteColour(pixel) == resources::kMaskColour) {
        maskBits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  HBITMAP mask = ::CreateBitmap(size, size, 1, 1, maskBits.data());
  // Transparent pixels must be black in the colour bitmap for the mask to show what is behind them.
  if (colour != nullptr) {
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, colour);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        if (maskBits[static_cast<std::size_t>(y * stride + x / 8)] & (0x80 >> (x % 8))) {
          ::SetPixel(memory, x, y, RGB(0, 0, 0));
        }
      }
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = mask;
  HICON icon = ::CreateIconIndirect(&info);
  if (colour != nullptr) ::DeleteObject(colour);
  if (mask != nullptr) ::DeleteObject(mask);
  return icon;
}

// imltrvMain: the 14 pictures, transparent where they have the mask colour.
HIMAGELIST CreateTreeImages() {
  HIMAGELIST list = ::ImageList_Create(resources::kTreePictureSize, resources::kTreePictureSize,
                                       ILC_COLOR24 | ILC_MASK, resources::kTreePictureCount, 0);
  if (list == nullptr) return nullptr;
  HDC screen = ::GetDC(nullptr);
  for (const resources::PixelArt& art : resources::TreePictures()) {
    HBITMAP bitmap = BitmapOf(art, screen);
    const resources::Rgb mask = resources::kMaskColour;
    ::ImageList_AddMasked(list, bitmap, RGB(mask.red, mask.green, mask.blue));
    if (bitmap != nullptr) ::DeleteObject(bitmap);
  }
  ::ReleaseDC(nullptr, screen);
  return list;
}

void CollectItems(HWND tree, HTREEITEM item, std::vector<HTREEITEM>& items) {
  items.push_back(item);
  for (HTREEITEM child = TreeView_GetChild(tree, item); child != nullptr;
       child = TreeView_GetNextSibling(tree, child)) {
    CollectItems(tree, child, items);
  }
}

}  // namespace

float ScreenTwipsPerPixelX() {
  return TwipsPerPixel(LOGPIXELSX);
}
float ScreenTwipsPerPixelY() {
  return TwipsPerPixel(LOGPIXELSY);
}

void Win32TreeView::Clear() {
  TreeView_DeleteAllItems(tree_);
  nodes_.clear();
}

void Win32TreeView::Add(const std::string& relative, int32_t relationship, const std::string& key,
                        const std::string& text, int32_t image, int32_t selectedImage) {
  platform::CheckAdd(relative, relationship, key, image, selectedImage, resources::kTreePictureCount,
                     [this](const std::string& name) { return Find(name) != nullptr; });
  const HTREEITEM parent = relative.empty() ? TVI_ROOT : Find(relative);
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.iImage = image > 0 ? image - 1 : I_IMAGENONE;
  insert.item.iSelectedImage = selectedImage > 0 ? selectedImage - 1 : I_IMAGENONE;
  const auto item = reinterpret_cast<HTREEITEM>(
      ::SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item != nullptr) nodes_.push_back({key, item});
}

HTREEITEM Win32TreeView::At(int32_t position) const {
  platform::CheckPosition(position, Count());
  return nodes_[static_cast<std::size_t>(position - 1)].item;
}

HTREEITEM Win32TreeView::Find(const std::string& key) const {
  if (key.empty()) return nullptr;
  for (const Node& node : nodes_) {
    if (node.key == key) return node.item;
  }
  return nullptr;
}

std::string Win32TreeView::Key(int32_t position) const {
  At(position);
  return nodes_[static_cast<std::size_t>(position - 1)].key;
}

int32_t Win32TreeView::Children(int32_t position) const {
  int32_t count = 0;
  for (HTREEITEM child = TreeView_GetChild(tree_, At(position)); child != nullptr;
       child = TreeView_GetNextSibling(tree_, child)) {
    ++count;
  }
  return count;
}

void Win32TreeView::Remove(int32_t position) {
  std::vector<HTREEITEM> gone;
  CollectItems(tree_, At(position), gone);
  TreeView_DeleteItem(tree_, gone.front());
  std::erase_if(
      nodes_, [&](const Node& node) { return std::find(gone.begin(), gone.end(), node.item) != gone.end(); });
}

void Win32TreeView::Expand(const std::string& key) {
  const HTREEITEM item = Find(key);
  platform::CheckKeyFound(item != nullptr);
  TreeView_Expand(tree_, item, TVE_EXPAND);
}

std::string Win32TreeView::KeyOf(HTREEITEM item) const {
  for (const Node& node : nodes_) {
    if (node.item == item) return node.key;
  }
  return {};
}

void Win32Pointer::Set(int32_t pointer) {
  hourglass_ = pointer == platform::vbHourglass;
  ::SetCursor(::LoadCursor(nullptr, hourglass_ ? IDC_WAIT : IDC_ARROW));
  lastRepaint_ = ::GetTickCount();
}

void Win32Pointer::StillBusy() {
  // Often enough that the window never looks frozen, seldom enough to cost a pack nothing.
  constexpr DWORD kRepaintEveryMs = 100;
  const DWORD now = ::GetTickCount();
  if (!hourglass_ || now - lastRepaint_ < kRepaintEveryMs) return;
  lastRepaint_ = now;
  // Paint messages only: input would start another command in the middle of this one. Bounded, in case a
  // window leaves part of itself invalid.
  MSG message;
  for (int i = 0; i < 64 && ::PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
    ::DispatchMessageA(&message);
}

void Win32MessageBox::Show(const std::string& text, int32_t style, const std::string& caption) {
  ::MessageBoxA(owner_, text.c_str(), caption.c_str(), static_cast<UINT>(style));
}

void Win32MenuCommand::SetEnabled(bool enabled) {
  ::EnableMenuItem(::GetMenu(window_), id_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  ::DrawMenuBar(window_);
}

Win32ControlContainer::Win32ControlContainer(HWND form)
    : form_(form), surface_(::CreateCompatibleDC(nullptr)) {}

Win32ControlContainer::~Win32ControlContainer() {
  if (originalBitmap_ != nullptr) ::SelectObject(surface_, originalBitmap_);
  if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
  if (surface_ != nullptr) ::DeleteDC(surface_);
}

void Win32ControlContainer::Load(cmndlg::CmnDlg& control, const std::string& savedSettings) {
  cmndlg::TextPropertyBag bag(savedSettings);
  control.ReadProperties(bag);
  control.Resize();
}

void Win32ControlContainer::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t systemColor) {
  if (bitmap_ == nullptr) {
    const int width = std::max(1, static_cast<int>(std::lround(widthTwips_ / TwipsPerPixelX())));
    const int height = std::max(1, static_cast<int>(std::lround(heightTwips_ / TwipsPerPixelY())));
    HDC screen = ::GetDC(nullptr);
    bitmap_ = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    originalBitmap_ = ::SelectObject(surface_, bitmap_);
  }
  HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(systemColor));
  HGDIOBJ old = ::SelectObject(surface_, pen);
  ::MoveToEx(surface_, x1, y1, nullptr);
  ::LineTo(surface_, x2, y2);
  ::SelectObject(surface_, old);
  ::DeleteObject(pen);
}

int32_t Win32ControlContainer::ParentHwnd() {
  // Window handles are 32-bit values on every Windows, also in 64-bit programs.
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(form_));
}

platform::Handle Win32ControlContainer::InstanceHandle() {
  return reinterpret_cast<platform::Handle>(::GetModuleHandleA(nullptr));
}

platform::Handle Win32ControlContainer::SurfaceHdc() {
  return reinterpret_cast<platform::Handle>(surface_);
}

Win32MainWindow::Win32MainWindow(HINSTANCE instance, platform::TextFiles& files,
                                 platform::PackFiles& packFiles)
    : instance_(instance), files_(files), packFiles_(packFiles) {
  icon16_ = IconOf(resources::WindowIcon16());
  icon32_ = IconOf(resources::WindowIcon32());
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Win32MainWindow::WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hIcon = icon32_;
  windowClass.hIconSm = icon16_;
  windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  ::RegisterClassExA(&windowClass);

  HMENU menu = ::LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_MAINMENU));
  const SIZE frame = FrameFor(frmMain::kClientWidth, frmMain::kClientHeight, kStyle, menu != nullptr);
  window_ = ::CreateWindowExA(0, kWindowClass, "Tarvex", kStyle, CW_USEDEFAULT, CW_USEDEFAULT, frame.cx,
                              frame.cy, nullptr, menu, instance_, this);
  if (window_ == nullptr) throw std::runtime_error("the main window cannot be created");
  accelerators_ = ::LoadAcceleratorsA(instance_, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  ::SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon16_));
  ::SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon32_));
  CreateControls();

  tree_ = std::make_unique<Win32TreeView>(trvMain_);
  messages_ = std::make_unique<Win32MessageBox>(window_);
  saveAs_ = std::make_unique<Win32MenuCommand>(window_, IDM_FILE_SAVEAS);
  saveAs_->SetEnabled(false);
  container_ = std::make_unique<Win32ControlContainer>(window_);
  cmnMain_ = std::make_unique<cmndlg::CmnDlg>(*container_, dialogs_);
  container_->Load(*cmnMain_, cmndlg::MainWindowSettings());
  form_ = std::make_unique<frmMain::Form>(frmMain::Form{
      *this,
      *cmnMain_,
      mdlFile::ReaderContext{files_, pointer_, *messages_, *tree_, *saveAs_},
      mdlFile::PackContext{packFiles_, pointer_, *messages_},
  });
}

Win32MainWindow::~Win32MainWindow() {
  if (window_ != nullptr && ::IsWindow(window_)) {
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
  if (imltrvMain_ != nullptr) ::ImageList_Destroy(imltrvMain_);
  if (font_ != nullptr) ::DeleteObject(font_);
  if (icon16_ != nullptr) ::DestroyIcon(icon16_);
  if (icon32_ != nullptr) ::DestroyIcon(icon32_);
  if (accelerators_ != nullptr) ::DestroyAcceleratorTable(accelerators_);
}

void Win32MainWindow::CreateControls() {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    font_ = ::CreateFontIndirectA(&metrics.lfMessageFont);
  }
  const auto place = [&](DWORD exStyle, const char* cls, const char* text, DWORD style,
                         const frmMain::TwipRect& at, int id) {
    HWND control = ::CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, PixelsX(at.left),
                                     PixelsY(at.top), PixelsX(at.width), PixelsY(at.height), window_,
                                     reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), instance_, nullptr);
    if (control != nullptr && font_ != nullptr)
      ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return control;
  };
  // Where the form places them at the size it is created with; LayOut moves them as the window is sized.
  const frmMain::FrmMainLayout layout = frmMain::LayoutFor(frmMain::kClientWidth, frmMain::kClientHeight);
  trvMain_ = place(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                   WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                   layout.trvMain, 1);
  lblFile_ = place(0, "STATIC", "File:", SS_LEFT, layout.lblFile, 2);
  txtFile_ =
      place(WS_EX_CLIENTEDGE, "EDIT", "", WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL, layout.txtFile, 3);
  imltrvMain_ = CreateTreeImages();
  TreeView_SetImageList(trvMain_, imltrvMain_, TVSIL_NORMAL);
  ::SetFocus(trvMain_);
}

void Win32MainWindow::LayOut(int clientWidth, int clientHeight) {
  const frmMain::FrmMainLayout layout = frmMain::LayoutFor(TwipsX(clientWidth), TwipsY(clientHeight));
  for (const auto& [control, at] : {std::pair{trvMain_, layout.trvMain}, std::pair{lblFile_, layout.lblFile},
                                    std::pair{txtFile_, layout.txtFile}}) {
    ::MoveWindow(control, PixelsX(at.left), PixelsY(at.top), PixelsX(at.width), PixelsY(at.height), FALSE);
  }
  // Everything is painted anew once all stand where they go: the label moves onto ground the tree left.
  ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int Win32MainWindow::Run(int showCommand, const std::optional<std::string>& projectFile) {
  ::ShowWindow(window_, showCommand);
  ::UpdateWindow(window_);
  if (projectFile) {
    // The full path, as the Open dialog returns it; one Windows rejects is read as a missing file.
    std::string path;
    try {
      path = FullPath(*projectFile);
    } catch (const platform::FileError&) {
    }
    Route([&] { frmMain::OpenCommandLineProject(*form_, path); });
  }
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (accelerators_ != nullptr && ::TranslateAcceleratorA(window_, accelerators_, &message)) continue;
    if (::IsDialogMessageA(window_, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

void Win32MainWindow::SetFileText(const std::string& text) {
  ::SetWindowTextA(txtFile_, text.c_str());
}

void Win32MainWindow::Unload() {
  ::DestroyWindow(window_);
}

void Win32MainWindow::EndProgram() {
  if (!ended_) ::PostQuitMessage(0);
  ended_ = true;
}

template <typename Handler>
void Win32MainWindow::Route(Handler handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    std::cerr << "tarvex: " << error.what() << '\n';
  }
}

void Win32MainWindow::NodeClicked(HTREEITEM item) {
  if (item == nullptr) return;
  const std::string key = tree_->KeyOf(item);
  Route([&] { frmMain::trvMain_NodeClick(*form_, key); });
}

LRESULT CALLBACK Win32MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32MainWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr || self->form_ == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT Win32MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDM_FILE_OPEN:
          Route([&] { frmMain::mnuFileOpen_Click(*form_); });
          return 0;
        case IDM_FILE_SAVEAS:
          // The accelerator table has no entry for it, but a disabled item must do nothing either way.
          if (::GetMenuState(::GetMenu(window_), IDM_FILE_SAVEAS, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED))
            return 0;
          Route([&] { frmMain::mnuFileSaveAs_Click(*form_); });
          return 0;
        case IDM_FILE_EXIT:
          Route([&] { frmMain::mnuFileExit_Click(*form_); });
          return 0;
      }
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom != trvMain_) break;
      if (header->code == NM_CLICK) {
        // A click on the node already selected changes no selection, yet shows its path again.
        const DWORD position = ::GetMessagePos();
        TVHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
        ::ScreenToClient(trvMain_, &hit.pt);
        HTREEITEM item = TreeView_HitTest(trvMain_, &hit);
        if (item != nullptr && (hit.flags & TVHT_ONITEM)) NodeClicked(item);
      } else if (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) {
        // A selection made with the keyboard shows the path too. Mouse selections come as NM_CLICK, and
        // the one the tree makes by itself when it first gets the focus is no click at all.
        const auto* change = reinterpret_cast<const NMTREEVIEWA*>(lParam);
        if (change->action == TVC_BYKEYBOARD) NodeClicked(change->itemNew.hItem);
      }
      break;
    }
    case WM_SIZE:
      // The tree grows with the window, and the path field takes its width, as on every platform.
      if (wParam != SIZE_MINIMIZED) LayOut(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO: {
      const SIZE smallest = FrameFor(frmMain::kMinClientWidth, frmMain::kMinClientHeight, kStyle, true);
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {smallest.cx, smallest.cy};
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      // The read-only path field (and the label) on the button face.
      ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
      if (pointer_.Hourglass()) {
        ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      Route([&] { frmMain::Form_Unload(*form_); });
      return 0;
  }
  return ::DefWindowProcA(window_, message, wParam, lParam);
}

}  // namespace win32
