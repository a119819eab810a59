#include "tests/platform/qt/qt_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTreeWidget>

#include "platform/posix/host_paths.h"
#include "platform/qt/qt_tree_view.h"

namespace qttest {

namespace {

QString Describe(QDialog& dialog) {
  const QWidget* owner = dialog.parentWidget();
  QString line = QString("%1 \"%2\" owner=%3%4 ")
                     .arg(dialog.metaObject()->className(), dialog.windowTitle(),
                          owner != nullptr ? owner->metaObject()->className() : "none",
                          dialog.isModal() || dialog.windowModality() != Qt::NonModal ? " modal" : "");
  if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
    const QStringList icons{"none", "information", "warning", "critical", "question"};
    return line + icons.value(box->icon()) + ": " + box->text().replace('\n', ' ');
  }
  if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
    const auto* box = files->findChild<QCheckBox*>();
    const char* readOnly = box == nullptr ? "none" : box->isChecked() ? "on" : "off";
    return line + QString("%1 mode=%2 filters=[%3] selected=[%4] dir=%5 files=[%6] readonly=%7 %8")
                      .arg(files->acceptMode() == QFileDialog::AcceptSave ? "save" : "open")
                      .arg(files->fileMode())
                      .arg(files->nameFilters().join("; "), files->selectedNameFilter(),
                           files->directory().absolutePath(), files->selectedFiles().join("; "), readOnly,
                           files->testOption(QFileDialog::DontConfirmOverwrite) ? "quiet" : "confirm");
  }
  if (auto* colours = qobject_cast<QColorDialog*>(&dialog)) {
    line += "current=" + colours->currentColor().name() + " custom=";
    for (int i = 0; i < QColorDialog::customCount(); ++i) line += QColorDialog::customColor(i).name() + ' ';
  } else if (auto* fonts = qobject_cast<QFontDialog*>(&dialog)) {
    const QFont font = fonts->currentFont();
    line += QString::asprintf("%s %gpt weight=%d italic=%d", qPrintable(font.family()), font.pointSizeF(),
                              static_cast<int>(font.weight()), font.italic());
  } else if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
    const QPrinter* printer = print->printer();
    line += QString::asprintf("copies=%d range=%d pages=%d-%d", printer->copyCount(), printer->printRange(),
                              printer->fromPage(), printer->toPage());
  }
  return line.trimmed();
}

// Answers a file dialog with the chosen files, after ticking its read-only box or picking its filter.
int Choose(QFileDialog& files, const QStringList& words) {
  QStringList chosen;
  for (qsizetype i = 0; i < words.size(); ++i) {
    if (words[i] == "readonly" && files.findChild<QCheckBox*>() != nullptr) {
      files.findChild<QCheckBox*>()->setChecked(true);
    } else if (words[i] == "filter" && i + 1 < words.size()) {
      files.selectNameFilter(files.nameFilters().value(words[++i].toInt() - 1));
    } else if (words[i] != "choose") {
      chosen << words[i];
    }
  }
  if (chosen.size() == 1) {
    files.selectFile(chosen[0]);
  } else if (!chosen.isEmpty()) {
    files.setDirectory(QFileInfo(chosen[0]).absolutePath());
    for (QString& path : chosen) path = '"' + QFileInfo(path).fileName() + '"';
    files.selectFile(chosen.join(' '));
  }
  static_cast<QDialog&>(files).accept();
  return files.result();
}

}  // namespace

ScriptedRunner::ScriptedRunner()
    : aliases{{QDir::currentPath(), "(current)"}, {QFontInfo(QFont("Sans Serif")).family(), "(sans)"}} {}

std::string ScriptedRunner::Alias(const QString& folder, const QString& alias,
                                  const platform::CodePage& codePage) {
  const std::string windows = *posix::WindowsFromHost(folder.toStdString(), codePage);
  aliases.insert(aliases.begin(), {{folder, alias}, {QString::fromStdString(windows), alias}});
  return windows;
}

QString ScriptedRunner::Host(QString text) const {
  for (const auto& [host, alias] : aliases) text.replace(alias, host);  // later hosts find it gone
  return text;
}

int ScriptedRunner::Run(QDialog& dialog) {
  const QString shown = Describe(dialog);  // aliased with the rest of the transcript
  seen << shown;
  if (answers.empty()) {
    ADD_FAILURE() << "a dialog nobody expected: " << shown.toStdString();
    return QDialog::Rejected;
  }
  const QStringList words = Host(answers.front()).split(' ', Qt::SkipEmptyParts);
  answers.pop_front();
  const auto number = [&](qsizetype i) { return words.value(i).section('-', 0, 0).toInt(); };
  if (auto* files = qobject_cast<QFileDialog*>(&dialog); files != nullptr && words[0] != "cancel") {
    return Choose(*files, words);
  } else if (auto* colours = qobject_cast<QColorDialog*>(&dialog); colours && words[0] == "colour") {
    colours->setCurrentColor(QColor(words.value(1)));
  } else if (auto* fonts = qobject_cast<QFontDialog*>(&dialog); fonts && words[0] == "font") {
    const QString family = fonts->currentFont().family();
    const QStringList styles = QFontDatabase::styles(family);
    const auto plain = std::find_if(styles.begin(), styles.end(), [&](const QString& style) {
      return !QFontDatabase::bold(family, style) && !QFontDatabase::italic(family, style);
    });
    QFont font = QFontDatabase::font(family, plain != styles.end() ? *plain : QString(), number(1));
    font.setUnderline(words.contains("underline"));
    font.setStrikeOut(words.contains("strikeout"));
    fonts->setCurrentFont(font);
  } else if (auto* print = qobject_cast<QPrintDialog*>(&dialog); print && words[0] == "print") {
    print->printer()->setCopyCount(number(1));
    print->printer()->setFromTo(number(2), words.value(2).section('-', 1).toInt());
  } else if (words[0] != "ok" && words[0] != "cancel") {
    ADD_FAILURE() << "\"" << words.join(' ').toStdString() << "\" answers no " << shown.toStdString();
  }
  return words[0] == "cancel" ? QDialog::Rejected : QDialog::Accepted;
}

QStringList ShownTree(const QTreeWidget& tree, const qtui::QtImageList& images) {
  const auto pixels = [](const QPixmap& p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); };
  QStringList shown;
  const std::function<void(const QTreeWidgetItem*, int)> add = [&](const QTreeWidgetItem* item, int depth) {
    const QIcon icon = item->icon(0);
    const int image = item->data(0, qtui::kImageRole).toInt();
    const int selected = item->data(0, qtui::kSelectedImageRole).toInt();
    const bool others =
        !icon.isNull() && (pixels(icon.pixmap(16)) != pixels(images.Picture(image)) ||
                           pixels(icon.pixmap(16, QIcon::Selected)) != pixels(images.Picture(selected)));
    shown << QString::asprintf("%*s%s %s %d/%d%s%s%s", depth * 2, "", qtui::QtTreeView::KeyOf(*item).c_str(),
                               qPrintable(item->text(0)), image, selected, icon.isNull() ? " -" : "",
                               others ? " !" : "", item->isExpanded() ? " expanded" : "");
    for (int i = 0; i < item->childCount(); ++i) add(item->child(i), depth + 1);
  };
  for (int i = 0; i < tree.topLevelItemCount(); ++i) add(tree.topLevelItem(i), 0);
  return shown;
}

void ExpectTranscript(const char* name, ScriptedRunner& runner,
                      const std::function<QStringList(const QString&, const QString&)>& run) {
  QFile file(QString(TARVEX_SOURCE_DIR "/tests/data/platform/qt/") + name);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
  const QString expected = QString::fromUtf8(file.readAll());
  file.close();
  QString transcript;
  for (const QString& line : expected.split('\n', Qt::SkipEmptyParts)) {
    if (line.startsWith(' ')) continue;
    transcript += line + '\n';
    if (line.startsWith('#')) continue;
    const QString command = line.section(' ', 0, 0);
    QStringList answers = line.mid(command.size()).split(" ; ");
    const QString argument = answers.takeFirst().trimmed();
    runner.seen.clear();
    runner.answers.assign(answers.begin(), answers.end());
    QStringList shown = run(command, argument);
    EXPECT_TRUE(runner.answers.empty()) << line.toStdString();
    for (QString& text : shown = runner.seen + shown) {
      for (const auto& [host, alias] : runner.aliases) text.replace(host, alias);
      transcript += "  " + text + '\n';
    }
  }
  if (qEnvironmentVariableIsSet("TARVEX_UPDATE_DATA")) {
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(transcript.toUtf8());
  }
  EXPECT_EQ(transcript.toStdString(), expected.toStdString()) << name;
}

}  // namespace qttest

// The window tests' own main, ahead of GoogleTest's: every test runs in one application, on the offscreen
// platform unless QT_QPA_PLATFORM names another.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
