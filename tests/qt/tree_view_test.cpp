// The tree view on a QTreeWidget: the operations the tree builder uses, and their errors.
#include <gtest/gtest.h>

#include "platform/errors.h"
#include "cli/memory_tree_view.h"
#include "platform/posix/code_pages.h"
#include "platform/qt/qt_tree_view.h"
#include "project/mdl_file.h"

namespace {

int32_t ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const platform::RaisedError& error) {
    return error.Number();
  }
  return 0;
}

class QtTreeViewTest : public testing::Test {
 protected:
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  qtui::QtImageList images;
  QTreeWidget widget;
  qtui::QtTreeView tree{widget, images, *codePage};
};

TEST_F(QtTreeViewTest, NodesAreAddressedByPositionInTheOrderAdded) {
  tree.Add("", 0, "p0", "Root", 1, 1);
  tree.Add("p0", platform::tvwChild, "r1", "A", 5, 6);
  tree.Add("p0", platform::tvwChild, "r2", "B", 5, 6);
  tree.Add("r1", platform::tvwChild, "f0", "x", 7, 7);
  tree.Add("r2", platform::tvwChild, "f1", "y", 7, 7);
  ASSERT_EQ(tree.Count(), 5);
  EXPECT_EQ(tree.Key(4), "f0");
  EXPECT_EQ(tree.Children(1), 2);
  EXPECT_EQ(tree.Children(2), 1);
  EXPECT_EQ(widget.topLevelItemCount(), 0) << "the nodes wait until the tree is shown";

  tree.Remove(2);  // r1 and f0 under it
  ASSERT_EQ(tree.Count(), 3);
  EXPECT_EQ(tree.Key(2), "r2");
  EXPECT_EQ(tree.Key(3), "f1");
  EXPECT_EQ(tree.Find("f0"), nullptr);

  tree.Expand("p0");
  ASSERT_EQ(widget.topLevelItemCount(), 1);
  EXPECT_TRUE(widget.topLevelItem(0)->isExpanded());
  EXPECT_EQ(widget.topLevelItem(0)->childCount(), 1);

  // Removing from the shown tree works the same way.
  tree.Remove(2);
  EXPECT_EQ(tree.Count(), 1);
  EXPECT_EQ(widget.topLevelItem(0)->childCount(), 0);
  tree.Clear();
  EXPECT_EQ(tree.Count(), 0);
  EXPECT_EQ(widget.topLevelItemCount(), 0);
}

TEST_F(QtTreeViewTest, WrongKeysAndPositionsRaiseTheTreeViewsErrors) {
  tree.Add("", 0, "p0", "Root", 1, 1);
  EXPECT_EQ(ErrorOf([&] { tree.Add("", 0, "p0", "Again", 1, 1); }), 35602);
  EXPECT_EQ(ErrorOf([&] { tree.Add("r9", platform::tvwChild, "f0", "x", 7, 7); }), 35601);
  EXPECT_EQ(ErrorOf([&] { tree.Key(0); }), 35600);
  EXPECT_EQ(ErrorOf([&] { tree.Key(2); }), 35600);
  EXPECT_EQ(ErrorOf([&] { tree.Remove(2); }), 35600);
  EXPECT_EQ(ErrorOf([&] { tree.Expand("r1"); }), 35601);
  EXPECT_EQ(ErrorOf([&] { tree.Add("p0", platform::tvwChild, "f0", "x", 15, 15); }), 35600)
      << "no picture 15";
  EXPECT_EQ(tree.Count(), 1);
}

TEST_F(QtTreeViewTest, BuildsTheSameTreeAsTheTreeKeptInMemory) {
  mdlFile::ProjectModel model;
  model.name = "Mixed";
  model.type = 0;  // no root picture
  for (int i = 0; i < 40; ++i) model.components.push_back({(i * 7) % 9, "C" + std::to_string(i), "c.bas"});
  model.count = 40;
  cli::MemoryTreeView memory;
  mdlFile::BuildProjectTree(model, memory);
  mdlFile::BuildProjectTree(model, tree);
  ASSERT_EQ(tree.Count(), memory.Count());
  for (int32_t position = 1; position <= memory.Count(); ++position) {
    const auto& expected = memory.At(position);
    EXPECT_EQ(tree.Key(position), expected.key);
    const QTreeWidgetItem* item = tree.Find(expected.key);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(0).toStdString(), expected.text);
    EXPECT_EQ(item->data(0, qtui::kImageRole).toInt(), expected.image);
    EXPECT_EQ(item->data(0, qtui::kSelectedImageRole).toInt(), expected.selectedImage);
    EXPECT_EQ(item->isExpanded(), expected.expanded) << expected.key;
    EXPECT_EQ(item->parent() == nullptr ? std::string() : qtui::QtTreeView::KeyOf(*item->parent()),
              expected.parent == nullptr ? std::string() : expected.parent->key);
    EXPECT_EQ(tree.Children(position), static_cast<int32_t>(expected.children.size()));
  }
  EXPECT_TRUE(tree.Find("p0")->icon(0).isNull()) << "type 0 shows no root picture";
}

TEST_F(QtTreeViewTest, TextIsShownFromTheCodePage) {
  tree.Add("", 0, "p0", "Caf\xE9 \x80", 1, 1);
  EXPECT_EQ(tree.Find("p0")->text(0), QString::fromUtf8("Café €"));
}

}  // namespace
