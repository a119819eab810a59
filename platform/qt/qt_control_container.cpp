// The common-dialog control's container on Qt: saved settings, face, size and handles.
#include "platform/qt/qt_control_container.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <cmath>

#include "platform/property_bag_text.h"
#include "platform/qt/qt_handles.h"

namespace qtui {

double ScreenDpiX() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
}

double ScreenDpiY() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

float TwipsPerPixelX() {
  return static_cast<float>(1440.0 / std::round(ScreenDpiX()));
}
float TwipsPerPixelY() {
  return static_cast<float>(1440.0 / std::round(ScreenDpiY()));
}

void QtControlContainer::Load(cmndlg::CmnDlg& control, const std::string& savedSettings) {
  platform::TextPropertyBag bag(savedSettings);
  control.ReadProperties(bag);
  control.Resize();
}

void QtControlContainer::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t systemColor) {
  const int width = std::max(1, static_cast<int>(std::lround(widthTwips_ / TwipsPerPixelX())));
  const int height = std::max(1, static_cast<int>(std::lround(heightTwips_ / TwipsPerPixelY())));
  if (face_.width() != width || face_.height() != height) {
    face_ = QImage(width, height, QImage::Format_ARGB32);
    face_.fill(form_.palette().color(QPalette::Button));
  }
  const QPalette& palette = form_.palette();
  const QColor colour = systemColor == platform::kColorButtonShadow ? palette.color(QPalette::Dark)
                        : systemColor == platform::kColorButtonHighlight
                            ? palette.color(QPalette::Light)
                            : palette.color(QPalette::WindowText);
  QPainter painter(&face_);
  painter.setPen(colour);
  painter.drawLine(x1, y1, x2, y2);
}

float QtControlContainer::TwipsPerPixelX() {
  return qtui::TwipsPerPixelX();
}
float QtControlContainer::TwipsPerPixelY() {
  return qtui::TwipsPerPixelY();
}
int32_t QtControlContainer::ParentHwnd() {
  return static_cast<int32_t>(kMainWindowHandle);
}
platform::Handle QtControlContainer::InstanceHandle() {
  return kInstanceHandle;
}
platform::Handle QtControlContainer::SurfaceHdc() {
  return kScreenDc;
}

}  // namespace qtui
