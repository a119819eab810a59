#include "tests/platform/qt/qt_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPrintDialog>
#include <memory>

namespace qttest {

namespace {

class QtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    application_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "tests_qt";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

int ScriptedRunner::Run(QDialog& dialog) {
  SeenDialog seenDialog;
  seenDialog.title = dialog.windowTitle();
  seenDialog.modal = dialog.isModal() || dialog.windowModality() != Qt::NonModal;
  seenDialog.owner = dialog.parentWidget();
  if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
    seenDialog.kind = "message";
    seenDialog.text = box->text();
    seenDialog.icon = box->icon();
  } else if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
    seenDialog.kind = "file";
    seenDialog.acceptMode = files->acceptMode();
    seenDialog.fileMode = files->fileMode();
    seenDialog.nameFilters = files->nameFilters();
    seenDialog.selectedNameFilter = files->selectedNameFilter();
    seenDialog.directory = files->directory().absolutePath();
    seenDialog.selectedFiles = files->selectedFiles();
  } else if (qobject_cast<QColorDialog*>(&dialog) != nullptr) {
    seenDialog.kind = "color";
  } else if (qobject_cast<QFontDialog*>(&dialog) != nullptr) {
    seenDialog.kind = "font";
  } else if (qobject_cast<QPrintDialog*>(&dialog) != nullptr) {
    seenDialog.kind = "print";
  } else {
    seenDialog.kind = "other";
  }
  seen.push_back(seenDialog);
  if (answers.empty()) {
    ADD_FAILURE() << "a dialog nobody expected: " << seenDialog.kind << " \""
                  << seenDialog.title.toStdString() << "\" " << seenDialog.text.toStdString();
    return QDialog::Rejected;
  }
  const Answer answer = answers.front();
  answers.pop_front();
  return answer(dialog);
}

std::vector<SeenDialog> ScriptedRunner::Seen(const std::string& kind) const {
  std::vector<SeenDialog> found;
  for (const auto& dialog : seen) {
    if (dialog.kind == kind) found.push_back(dialog);
  }
  return found;
}

ScriptedRunner::Answer ChooseFile(const QString& hostPath) {
  return [hostPath](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    files.selectFile(hostPath);
    static_cast<QDialog&>(files).accept();  // the dialog's own checks run
    return files.result();
  };
}

ScriptedRunner::Answer ChooseFiles(const QStringList& hostPaths) {
  return [hostPaths](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    files.setDirectory(QFileInfo(hostPaths.front()).absolutePath());
    QStringList quoted;
    for (const auto& path : hostPaths) quoted << '"' + QFileInfo(path).fileName() + '"';
    files.selectFile(quoted.join(' '));
    static_cast<QDialog&>(files).accept();  // the dialog's own checks run
    return files.result();
  };
}

ScriptedRunner::Answer Cancel() {
  return [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
}

ScriptedRunner::Answer Ok() {
  return [](QDialog&) { return static_cast<int>(QDialog::Accepted); };
}

}  // namespace qttest
