// ChooseColorA, ChooseFontA, PrintDlgA, WinHelpA and GetDeviceCaps on Qt.
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/qt/qt_handles.h"
#include "platform/qt/qt_system_dialogs.h"
#include "platform/qt/qt_text.h"

namespace qtui {

namespace {

// CHOOSEFONTA::Flags: the size limits apply.
constexpr uint32_t CF_LIMITSIZE = 0x2000;
// PRINTDLGA::Flags.
constexpr uint32_t PD_SELECTION = 0x1;
constexpr uint32_t PD_PAGENUMS = 0x2;
constexpr uint32_t PD_NOSELECTION = 0x4;
constexpr uint32_t PD_NOPAGENUMS = 0x8;
constexpr uint32_t PD_COLLATE = 0x10;
constexpr uint32_t PD_PRINTTOFILE = 0x20;
constexpr uint32_t PD_RETURNDC = 0x100;
constexpr uint32_t PD_RETURNIC = 0x200;
constexpr uint32_t PD_RETURNDEFAULT = 0x400;
constexpr uint32_t PD_DISABLEPRINTTOFILE = 0x80000;
constexpr uint32_t PD_HIDEPRINTTOFILE = 0x100000;
// WinHelpA commands.
constexpr uint32_t HELP_QUIT = 2;
// GetDeviceCaps indexes.
constexpr int32_t HORZRES = 8;
constexpr int32_t VERTRES = 10;
constexpr int32_t LOGPIXELSX = 88;

constexpr int kCustomColours = 16;

QColor ColourOf(uint32_t colorRef) {
  return QColor(static_cast<int>(colorRef & 0xFF), static_cast<int>((colorRef >> 8) & 0xFF),
                static_cast<int>((colorRef >> 16) & 0xFF));
}

uint32_t ColorRefOf(const QColor& colour) {
  return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
         (static_cast<uint32_t>(colour.blue()) << 16);
}

}  // namespace

QtSystemDialogs::QtSystemDialogs(QWidget* mainWindow, DialogRunner& runner,
                                 const platform::CodePage& codePage, const platform::HostPaths& hostPaths)
    : mainWindow_(mainWindow), runner_(runner), codePage_(codePage), hostPaths_(hostPaths) {}

QtSystemDialogs::~QtSystemDialogs() = default;

QWidget* QtSystemDialogs::OwnerOf(platform::Handle owner) const {
  return owner == kMainWindowHandle ? mainWindow_ : nullptr;
}

int32_t QtSystemDialogs::ChooseColorA(platform::CHOOSECOLORA& request) {
  QColorDialog dialog(ColourOf(request.rgbResult), OwnerOf(request.hwndOwner));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  if (request.lpCustColors != nullptr) {
    for (int i = 0; i < kCustomColours; ++i)
      QColorDialog::setCustomColor(i, ColourOf(request.lpCustColors[i]));
  }
  if (runner_.Run(dialog) != QDialog::Accepted) return 0;
  if (request.lpCustColors != nullptr) {
    for (int i = 0; i < kCustomColours; ++i)
      request.lpCustColors[i] = ColorRefOf(QColorDialog::customColor(i));
  }
  request.rgbResult = ColorRefOf(dialog.currentColor());  // what accept() also takes as selected
  return 1;
}

int32_t QtSystemDialogs::ChooseFontA(platform::CHOOSEFONTA& request) {
  if (request.lpLogFont == nullptr) return 0;
  platform::LOGFONTA& logFont = *request.lpLogFont;
  const double dpi = ScreenDpiY();
  QFont initial;
  const std::string face(logFont.lfFaceName, strnlen(logFont.lfFaceName, sizeof logFont.lfFaceName));
  if (!face.empty()) initial.setFamilies({Shown(codePage_, face)});
  // The dialog lists whole point sizes, as the system's does; the height read back from a whole size
  // gives the same size again.
  if (logFont.lfHeight != 0)
    initial.setPointSize(static_cast<int>(std::lround(std::abs(logFont.lfHeight) * 72.0 / dpi)));
  if (logFont.lfWeight > 0)
    initial.setWeight(static_cast<QFont::Weight>(std::clamp(logFont.lfWeight, 1, 1000)));
  initial.setItalic(logFont.lfItalic != 0);
  initial.setUnderline(logFont.lfUnderline != 0);
  initial.setStrikeOut(logFont.lfStrikeOut != 0);
  // A face the font list does not hold (none given, or a generic name) opens on the family it stands
  // for, so that the dialog finds its styles.
  initial.setFamilies({QFontInfo(initial).family()});

  QFontDialog dialog(initial, OwnerOf(request.hwndOwner));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  if (runner_.Run(dialog) != QDialog::Accepted) return 0;
  const QFont chosen = dialog.currentFont();  // what accept() also takes as selected

  const auto chosenFace = Bytes(codePage_, chosen.family());
  if (!chosenFace) return 0;
  double points = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : chosen.pixelSize() * 72.0 / dpi;
  if ((request.Flags & CF_LIMITSIZE) != 0 && request.nSizeMax > 0) {
    points = std::clamp(points, static_cast<double>(request.nSizeMin), static_cast<double>(request.nSizeMax));
  }
  std::memset(logFont.lfFaceName, 0, sizeof logFont.lfFaceName);
  std::memcpy(logFont.lfFaceName, chosenFace->data(),
              std::min(chosenFace->size(), sizeof logFont.lfFaceName - 1));
  logFont.lfHeight = -static_cast<int32_t>(std::lround(points * dpi / 72.0));
  logFont.lfWidth = 0;
  logFont.lfWeight = static_cast<int32_t>(chosen.weight());
  logFont.lfItalic = chosen.italic() ? 255 : 0;
  logFont.lfUnderline = chosen.underline() ? 255 : 0;
  logFont.lfStrikeOut = chosen.strikeOut() ? 255 : 0;
  request.iPointSize = static_cast<int32_t>(std::lround(points * 10));
  return 1;
}

int32_t QtSystemDialogs::PrintDlgA(platform::PRINTDLGA& request) {
  auto printer = std::make_unique<QPrinter>();
  const uint32_t flags = request.Flags;
  if ((flags & PD_RETURNDEFAULT) != 0) {
    if (QPrinterInfo::defaultPrinter().isNull()) return 0;
  } else {
    printer->setCopyCount(std::max<int>(1, request.nCopies));
    printer->setCollateCopies((flags & PD_COLLATE) != 0);
    if (request.nFromPage >= 1 && request.nToPage >= request.nFromPage) {
      printer->setFromTo(request.nFromPage, request.nToPage);
    }
    if ((flags & PD_PAGENUMS) != 0) printer->setPrintRange(QPrinter::PageRange);
    if ((flags & PD_SELECTION) != 0) printer->setPrintRange(QPrinter::Selection);
    QPrintDialog dialog(printer.get(), OwnerOf(request.hwndOwner));
    dialog.setWindowModality(Qt::ApplicationModal);
    if (request.nMinPage >= 1 && request.nMaxPage >= request.nMinPage) {
      dialog.setMinMax(request.nMinPage, request.nMaxPage);
    }
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, (flags & PD_NOPAGENUMS) == 0);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, (flags & PD_NOSELECTION) == 0);
    dialog.setOption(QAbstractPrintDialog::PrintToFile,
                     (flags & (PD_DISABLEPRINTTOFILE | PD_HIDEPRINTTOFILE)) == 0);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies);
    if (runner_.Run(dialog) != QDialog::Accepted) return 0;
  }

  uint32_t result = flags & ~(PD_SELECTION | PD_PAGENUMS | PD_COLLATE | PD_PRINTTOFILE);
  if (printer->printRange() == QPrinter::PageRange) {
    result |= PD_PAGENUMS;
    request.nFromPage = static_cast<uint16_t>(printer->fromPage());
    request.nToPage = static_cast<uint16_t>(printer->toPage());
  } else if (printer->printRange() == QPrinter::Selection) {
    result |= PD_SELECTION;
  }
  if (printer->collateCopies()) result |= PD_COLLATE;
  if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
    result |= PD_PRINTTOFILE;
  }
  request.nCopies = static_cast<uint16_t>(std::clamp(printer->copyCount(), 1, 0xFFFF));
  request.Flags = result;
  request.hDevMode = 0;
  request.hDevNames = 0;
  request.hDC = 0;
  if ((flags & (PD_RETURNDC | PD_RETURNIC)) != 0) {
    request.hDC = kFirstPrinterDc + static_cast<platform::Handle>(printers_.size());
    printers_.push_back(std::move(printer));
  }
  return 1;
}

QPrinter* QtSystemDialogs::Printer(platform::Handle hdc) const {
  const auto index = hdc - kFirstPrinterDc;
  if (index < 0 || index >= static_cast<platform::Handle>(printers_.size())) return nullptr;
  return printers_[static_cast<std::size_t>(index)].get();
}

int32_t QtSystemDialogs::WinHelpA(platform::Handle, const char* helpFile, uint32_t command, uintptr_t) {
  if (command == HELP_QUIT) return 1;  // no viewer of ours is left open to close
  const std::string file = helpFile != nullptr ? helpFile : "";
  if (file.empty()) return 0;
  QString host;
  try {
    host = QString::fromStdString(hostPaths_.HostFromWindows(file));
  } catch (const std::exception&) {
    return 0;
  }
  if (!QFileInfo(host).isFile()) return 0;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(host)) ? 1 : 0;
}

int32_t QtSystemDialogs::GetDeviceCaps(platform::Handle hdc, int32_t index) {
  if (hdc == kScreenDc) {
    switch (index) {
      case LOGPIXELSX:
        return static_cast<int32_t>(std::lround(ScreenDpiX()));
      case platform::kLogPixelsY:
        return static_cast<int32_t>(std::lround(ScreenDpiY()));
      default:
        return 0;
    }
  }
  if (const QPrinter* printer = Printer(hdc)) {
    switch (index) {
      case LOGPIXELSX:
      case platform::kLogPixelsY:
        return printer->resolution();
      case HORZRES:
        return printer->width();
      case VERTRES:
        return printer->height();
      default:
        return 0;
    }
  }
  return 0;
}

}  // namespace qtui
