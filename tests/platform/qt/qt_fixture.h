// The Qt application every window test runs in, a dialog runner whose user is the test, and the runner of
// transcript files.
#pragma once

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "platform/code_page.h"
#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_image_list.h"

class QTreeWidget;

namespace qttest {

// Writes down what each dialog shows, one line a dialog, and answers it with the next scripted answer:
// "ok" or "cancel" (the result alone); for a file dialog "choose PATH..." (several files of one folder)
// accepted through the dialog's own accept() so that its checks run, "readonly" and "filter N" before it
// ticking the read-only box and picking the Nth filter; "colour #RRGGBB"; "font POINTS [underline]
// [strikeout]" in a plain style of the family shown; "print COPIES FROM-TO". A dialog that finds no
// answer is a test failure and is cancelled.
class ScriptedRunner : public qtui::DialogRunner {
 public:
  // The current folder goes by "(current)", the family this machine shows for "Sans Serif" by "(sans)".
  ScriptedRunner();
  int Run(QDialog& dialog) override;
  // The text with each alias replaced by the first folder going by it.
  QString Host(QString text) const;
  // Names the folder by the alias in its host form and in its Windows form, which it returns, before
  // the folders named earlier.
  std::string Alias(const QString& folder, const QString& alias, const platform::CodePage& codePage);

  // Folders and the names they go by in what is seen and in answers, so that no line names a temporary
  // folder or the font this machine has.
  std::vector<std::pair<QString, QString>> aliases;
  std::deque<QString> answers;
  QStringList seen;
};

// The tree as a QTreeWidget shows it, a node a line: indented by depth, key, text, picture positions ("-"
// when it shows none, "!" when it shows others than the image list's at those positions) and whether
// expanded.
QStringList ShownTree(const QTreeWidget& tree, const qtui::QtImageList& images);

// Runs a transcript file under tests/data/platform/qt: each line that is not indented (nor a comment) is a
// command with its argument, then after " ; " the answers to the dialogs it shows. The file must be the
// commands, each followed by the lines of its dialogs and what run returns, indented. TARVEX_UPDATE_DATA=1
// rewrites the file from the run, to be read over before it is committed.
void ExpectTranscript(const char* name, ScriptedRunner& runner,
                      const std::function<QStringList(const QString& command, const QString& argument)>& run);

}  // namespace qttest
