// Runs the program's modal dialogs; tests put a scripted runner in its place.
#pragma once

#include <QDialog>

namespace qtui {

class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  // Shows the dialog modally, fully set up, and returns its result (QDialog::Accepted or Rejected).
  virtual int Run(QDialog& dialog) = 0;
};

// The real thing: the dialog's own modal loop.
class ExecDialogRunner : public DialogRunner {
 public:
  int Run(QDialog& dialog) override { return dialog.exec(); }
};

}  // namespace qtui
