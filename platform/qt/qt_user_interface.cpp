// The pointer as Qt's override cursor, message boxes as QMessageBox.
#include "platform/qt/qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace qtui {

namespace {

constexpr int32_t kIconMask = 0xF0;
constexpr int32_t kIconQuestion = 32;
constexpr int32_t kIconWarning = 48;

QMessageBox::Icon IconOf(int32_t style) {
  switch (style & kIconMask) {
    case platform::MB_ICONERROR:
      return QMessageBox::Critical;
    case kIconQuestion:
      return QMessageBox::Question;
    case kIconWarning:
      return QMessageBox::Warning;
    case platform::MB_ICONINFORMATION:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// Often enough that the window never looks frozen, seldom enough to cost a pack nothing.
constexpr qint64 kRepaintEveryMs = 100;

}  // namespace

QtPointer::~QtPointer() {
  if (current_ != platform::vbDefault) QApplication::restoreOverrideCursor();
}

void QtPointer::Set(int32_t pointer) {
  if (pointer == current_) return;
  const Qt::CursorShape shape = pointer == platform::vbHourglass ? Qt::WaitCursor : Qt::ArrowCursor;
  if (pointer == platform::vbDefault) {
    QApplication::restoreOverrideCursor();
  } else if (current_ == platform::vbDefault) {
    QApplication::setOverrideCursor(QCursor(shape));
  } else {
    QApplication::changeOverrideCursor(QCursor(shape));
  }
  current_ = pointer;
  if (pointer == platform::vbHourglass) sinceRepaint_.start();
}

void QtPointer::StillBusy() {
  if (!sinceRepaint_.isValid() || sinceRepaint_.elapsed() < kRepaintEveryMs) return;
  // Painting and the window system's events only: a click or a key would start another command in the middle
  // of this one.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  sinceRepaint_.start();
}

void QtMessageBox::Show(const std::string& text, int32_t style, const std::string& caption) {
  QMessageBox box(IconOf(style), Shown(codePage_, caption), Shown(codePage_, text), QMessageBox::Ok, owner_);
  box.setWindowModality(Qt::ApplicationModal);
  runner_.Run(box);
}

}  // namespace qtui
