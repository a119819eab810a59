// The pointer, the message box and the menu command on Qt.
#pragma once

#include <QAction>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "platform/code_page.h"
#include "platform/qt/dialog_runner.h"
#include "platform/user_interface.h"

namespace qtui {

// The application-wide pointer as Qt's override cursor: the hourglass is the wait cursor, the default
// takes the override away.
class QtPointer : public platform::MousePointer {
 public:
  QtPointer() = default;
  ~QtPointer() override;
  QtPointer(const QtPointer&) = delete;
  QtPointer& operator=(const QtPointer&) = delete;
  void Set(int32_t pointer) override;
  void StillBusy() override;

 private:
  int32_t current_ = platform::vbDefault;
  QElapsedTimer sinceRepaint_;
};

// A modal QMessageBox with the OK button alone, owned by the window, with the stop or information icon
// the style asks for.
class QtMessageBox : public platform::MessageBox {
 public:
  QtMessageBox(QWidget* owner, DialogRunner& runner, const platform::CodePage& codePage)
      : owner_(owner), runner_(runner), codePage_(codePage) {}
  void Show(const std::string& text, int32_t style, const std::string& caption) override;

 private:
  QWidget* owner_;
  DialogRunner& runner_;
  const platform::CodePage& codePage_;
};

class QtMenuCommand : public platform::MenuCommand {
 public:
  explicit QtMenuCommand(QAction& action) : action_(action) {}
  void SetEnabled(bool enabled) override { action_.setEnabled(enabled); }

 private:
  QAction& action_;
};

}  // namespace qtui
