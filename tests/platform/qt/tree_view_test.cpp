// The tree view on a QTreeWidget: the operations the tree builder uses, and their errors, which must be
// the tree kept in memory's. What it shows of a whole project is checked by main_window.txt.
#include <gtest/gtest.h>

#include "cli/memory_tree_view.h"
#include "platform/errors.h"
#include "platform/posix/code_pages.h"
#include "platform/qt/qt_tree_view.h"
#include "program/qt/qt_pictures.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

TEST(QtTreeView, FollowsTheOperationsFile) {
  const auto codePage = posix::MakeCodePage(1252);
  const qtui::QtImageList images = qtui::TreeImageList();
  QTreeWidget widget;
  qtui::QtTreeView tree(widget, images, *codePage);
  cli::MemoryTreeView memory;
  qttest::ScriptedRunner runner;
  qttest::ExpectTranscript("tree_view.txt", runner, [&](const QString& command, const QString& argument) {
    const QStringList words = argument.split(' ');
    const auto text = [&](qsizetype i) { return i < words.size() && words[i] != "-" ? words[i] : QString(); };
    const auto apply = [&](platform::TreeView& view) -> QString {
      try {
        if (command == "add") {  // RELATIVE RELATIONSHIP KEY PICTURE SELECTED TEXT, "-" for none
          view.Add(text(0).toStdString(), words[1].toInt(), text(2).toStdString(),
                   *codePage->FromUtf8(words.mid(5).join(' ').toStdString()), words[3].toInt(),
                   words[4].toInt());
        } else if (command == "key" || command == "children") {
          return QString::fromStdString(command == "key" ? view.Key(words[0].toInt())
                                                         : std::to_string(view.Children(words[0].toInt())));
        } else if (command == "remove") {
          view.Remove(words[0].toInt());
        } else if (command == "expand") {
          view.Expand(text(0).toStdString());
        } else {
          EXPECT_EQ(command, "clear");
          view.Clear();
        }
        return QString("count=%1").arg(view.Count());
      } catch (const platform::RaisedError& error) {
        return QString("error %1 count=%2").arg(error.Number()).arg(view.Count());
      }
    };
    const QString done = apply(memory);
    EXPECT_EQ(apply(tree).toStdString(), done.toStdString()) << "as the tree kept in memory";
    return QStringList{done} << qttest::ShownTree(widget, images);
  });
}

}  // namespace
