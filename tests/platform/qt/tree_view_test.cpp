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

// Every tree view raises the same error for the same misuse and keeps its nodes.
TEST_F(QtTreeViewTest, MisuseRaisesTheSameErrorsAsTheTreeKeptInMemory) {
  using platform::tvwChild;
  const struct {
    const char* what;
    std::function<void(platform::TreeView&)> call;
    int32_t error;
  } kMisuses[] = {
      {"a key given twice", [](auto& t) { t.Add("", 0, "p0", "Again", 1, 1); }, platform::kTreeKeyNotUnique},
      {"an unknown relative", [](auto& t) { t.Add("r9", tvwChild, "f0", "x", 7, 7); }, platform::kTreeElementNotFound},
      {"another relationship", [](auto& t) { t.Add("p0", 1, "f0", "x", 7, 7); }, platform::kTreeElementNotFound},
      {"no such picture", [](auto& t) { t.Add("p0", tvwChild, "f0", "x", 15, 15); }, platform::kTreeIndexOutOfBounds},
      {"a negative picture", [](auto& t) { t.Add("p0", tvwChild, "f0", "x", 7, -1); }, platform::kTreeIndexOutOfBounds},
      {"position 0", [](auto& t) { t.Key(0); }, platform::kTreeIndexOutOfBounds},
      {"a position past the end", [](auto& t) { t.Children(4); }, platform::kTreeIndexOutOfBounds},
      {"removing past the end", [](auto& t) { t.Remove(4); }, platform::kTreeIndexOutOfBounds},
      {"expanding an unknown key", [](auto& t) { t.Expand("r1"); }, platform::kTreeElementNotFound},
      {"expanding no key", [](auto& t) { t.Expand(""); }, platform::kTreeElementNotFound},
  };
  cli::MemoryTreeView memory;
  for (platform::TreeView* view : {static_cast<platform::TreeView*>(&memory), static_cast<platform::TreeView*>(&tree)}) {
    view->Add("", 0, "p0", "Root", 1, 1);
    view->Add("p0", tvwChild, "", "no key", 0, 0);
    view->Add("p0", tvwChild, "", "no key either", 0, 0);
    for (const auto& misuse : kMisuses) {
      EXPECT_EQ(ErrorOf([&] { misuse.call(*view); }), misuse.error) << misuse.what;
      EXPECT_EQ(view->Count(), 2 + 1) << misuse.what;
    }
  }
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
