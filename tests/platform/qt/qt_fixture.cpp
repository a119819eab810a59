#include "tests/platform/qt/qt_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
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

QString Describe(QDialog& dialog) {
  const QWidget* owner = dialog.parentWidget();
  QString line = QString("%1 \"%2\" owner=%3%4")
                     .arg(dialog.metaObject()->className(), dialog.windowTitle(),
                          owner != nullptr ? owner->metaObject()->className() : "none",
                          dialog.isModal() || dialog.windowModality() != Qt::NonModal ? " modal" : "");
  if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
    const QStringList icons{"none", "information", "warning", "critical", "question"};
    return line + QString(" %1: %2").arg(icons.value(box->icon()), box->text().replace('\n', ' '));
  }
  if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
    const auto* readOnly = files->findChild<QCheckBox*>();
    line += QString(" %1 mode=%2 filters=[%3] selected=[%4] dir=%5 files=[%6] readonly=%7 %8")
                .arg(files->acceptMode() == QFileDialog::AcceptSave ? "save" : "open")
                .arg(files->fileMode())
                .arg(files->nameFilters().join("; "), files->selectedNameFilter(),
                     files->directory().absolutePath(), files->selectedFiles().join("; "),
                     readOnly == nullptr     ? "none"
                     : readOnly->isChecked() ? "on"
                                             : "off",
                     files->testOption(QFileDialog::DontConfirmOverwrite) ? "quiet" : "confirm");
  }
  return line;
}

}  // namespace

int ScriptedRunner::Run(QDialog& dialog) {
  QString shown = Describe(dialog);
  for (const auto& [host, alias] : aliases) shown.replace(host, alias);
  seen << shown;
  if (answers.empty()) {
    ADD_FAILURE() << "a dialog nobody expected: " << shown.toStdString();
    return QDialog::Rejected;
  }
  QString answer = answers.front();
  answers.pop_front();
  if (answer == "ok" || answer == "cancel") return answer == "ok" ? QDialog::Accepted : QDialog::Rejected;
  auto* files = qobject_cast<QFileDialog*>(&dialog);
  if (files == nullptr) {
    ADD_FAILURE() << "\"" << answer.toStdString() << "\" answers no file dialog: " << shown.toStdString();
    return QDialog::Rejected;
  }
  QStringList replaced;  // in answers an alias stands for the first folder going by it
  for (const auto& [host, alias] : aliases) {
    if (!replaced.contains(alias)) answer.replace(alias, host);
    replaced << alias;
  }
  QStringList words = answer.split(' ', Qt::SkipEmptyParts);
  QStringList chosen;
  for (qsizetype i = 0; i < words.size(); ++i) {
    if (words[i] == "readonly" && files->findChild<QCheckBox*>() != nullptr) {
      files->findChild<QCheckBox*>()->setChecked(true);
    } else if (words[i] == "filter" && i + 1 < words.size()) {
      files->selectNameFilter(files->nameFilters().value(words[++i].toInt() - 1));
    } else if (words[i] != "choose") {
      chosen << words[i];
    }
  }
  if (chosen.size() == 1) {
    files->selectFile(chosen[0]);
  } else if (!chosen.isEmpty()) {
    files->setDirectory(QFileInfo(chosen[0]).absolutePath());
    for (QString& path : chosen) path = '"' + QFileInfo(path).fileName() + '"';
    files->selectFile(chosen.join(' '));
  }
  static_cast<QDialog*>(files)->accept();
  return files->result();
}

}  // namespace qttest
