// The Qt application every window test runs in, and a dialog runner whose user is the test.
#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>
#include <utility>
#include <vector>

#include "platform/qt/dialog_runner.h"

namespace qttest {

// Writes down what each dialog shows, one line a dialog, and answers it with the next scripted answer:
// "ok" or "cancel" (the result alone), or "choose PATH..." (several files of one folder) accepted through
// the dialog's own accept() so that its checks run; "readonly" and "filter N" before it tick the read-only
// box and pick the Nth filter. A dialog that finds no answer is a test failure and is cancelled.
class ScriptedRunner : public qtui::DialogRunner {
 public:
  int Run(QDialog& dialog) override;

  // Folders and the names they go by in what is seen and in answers, so that no line names a temporary
  // folder; in answers a name stands for the first folder going by it.
  std::vector<std::pair<QString, QString>> aliases;
  std::deque<QString> answers;
  QStringList seen;
};

}  // namespace qttest
