// The Qt application every window test runs in, and a dialog runner whose user is the test.
#pragma once

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/dialog_runner.h"

namespace qttest {

// What a dialog showed when it was run.
struct SeenDialog {
  std::string kind;  // "file", "message", "color", "font", "print", "other"
  QString title;
  QString text;  // a message box's text
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
  QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
  QStringList nameFilters;
  QString selectedNameFilter;
  QString directory;
  QStringList selectedFiles;  // what the file dialog proposed
  bool modal = false;
  QWidget* owner = nullptr;
};

class ScriptedRunner : public qtui::DialogRunner {
 public:
  using Answer = std::function<int(QDialog&)>;
  // Answers in order; a dialog that finds none is a test failure and is cancelled.
  std::deque<Answer> answers;
  std::vector<SeenDialog> seen;

  int Run(QDialog& dialog) override;
  std::vector<SeenDialog> Seen(const std::string& kind) const;
};

// Answers a file dialog with this host path, through the dialog's own accept().
ScriptedRunner::Answer ChooseFile(const QString& hostPath);
// Answers a file dialog with several files of one folder.
ScriptedRunner::Answer ChooseFiles(const QStringList& hostPaths);
ScriptedRunner::Answer Cancel();
// Closes a message box with its OK button.
ScriptedRunner::Answer Ok();

}  // namespace qttest
