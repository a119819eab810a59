// The common-dialog control's container on Qt: saved settings, size and handles.
#include "program/qt/qt_control_container.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "cmndlg/property_bag_text.h"
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
  cmndlg::TextPropertyBag bag(savedSettings);
  control.ReadProperties(bag);
  control.Resize();
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
