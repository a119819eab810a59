// The tree view on a QTreeWidget: the operations the tree builder uses, and their errors. What it shows
// of a whole project is checked in main_window_test.cpp.
#include <gtest/gtest.h>

#include "cli/memory_tree_view.h"
#include "platform/errors.h"
#include "platform/posix/code_pages.h"
#include "platform/qt/qt_tree_view.h"

namespace {

using platform::tvwChild;

class QtTreeViewTest : public testing::Test {
 protected:
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  qtui::QtImageList images;
  QTreeWidget widget;
  qtui::QtTreeView tree{widget, images, *codePage};
};

TEST_F(QtTreeViewTest, RemovesWithTheChildrenBeforeAndAfterTheTreeIsShown) {
  tree.Add("", 0, "p0", "Caf\xE9 \x80", 0, 0);
  for (const char* key : {"r1", "r2"}) tree.Add("p0", tvwChild, key, "A", 5, 6);
  tree.Add("r1", tvwChild, "f0", "x", 7, 7);
  tree.Add("r2", tvwChild, "f1", "y", 7, 7);
  EXPECT_EQ(tree.Children(1), 2);
  EXPECT_EQ(widget.topLevelItemCount(), 0) << "the nodes wait until the tree is shown";
  tree.Remove(2);  // r1 and f0 under it
  ASSERT_EQ(tree.Count(), 3);
  EXPECT_EQ(tree.Key(3), "f1");
  EXPECT_EQ(tree.Find("f0"), nullptr);
  tree.Expand("p0");
  ASSERT_EQ(widget.topLevelItemCount(), 1);
  EXPECT_TRUE(widget.topLevelItem(0)->isExpanded());
  EXPECT_EQ(widget.topLevelItem(0)->text(0), QString::fromUtf8("Café €"))
      << "text is shown from the code page";
  EXPECT_TRUE(widget.topLevelItem(0)->icon(0).isNull()) << "picture 0 is none";
  tree.Remove(2);
  EXPECT_EQ(tree.Count(), 1);
  EXPECT_EQ(widget.topLevelItem(0)->childCount(), 0);
  tree.Clear();
  EXPECT_EQ(tree.Count(), 0);
  EXPECT_EQ(widget.topLevelItemCount(), 0);
}

// Every tree view raises the same error for the same misuse and keeps its nodes.
TEST_F(QtTreeViewTest, MisuseRaisesTheSameErrorsAsTheTreeKeptInMemory) {
  const std::pair<std::function<void(platform::TreeView&)>, int32_t> kMisuses[] = {
      {[](auto& t) { t.Add("", 0, "p0", "Again", 1, 1); }, platform::kTreeKeyNotUnique},
      {[](auto& t) { t.Add("r9", tvwChild, "f0", "x", 7, 7); }, platform::kTreeElementNotFound},
      {[](auto& t) { t.Add("p0", 1, "f0", "x", 7, 7); },
       platform::kTreeElementNotFound},  // another relationship
      {[](auto& t) { t.Add("p0", tvwChild, "f0", "x", 15, 15); }, platform::kTreeIndexOutOfBounds},
      {[](auto& t) { t.Add("p0", tvwChild, "f0", "x", 7, -1); }, platform::kTreeIndexOutOfBounds},
      {[](auto& t) { t.Key(0); }, platform::kTreeIndexOutOfBounds},
      {[](auto& t) { t.Children(4); }, platform::kTreeIndexOutOfBounds},
      {[](auto& t) { t.Remove(4); }, platform::kTreeIndexOutOfBounds},
      {[](auto& t) { t.Expand("r1"); }, platform::kTreeElementNotFound},
      {[](auto& t) { t.Expand(""); }, platform::kTreeElementNotFound},
  };
  cli::MemoryTreeView memory;
  for (platform::TreeView* view :
       {static_cast<platform::TreeView*>(&memory), static_cast<platform::TreeView*>(&tree)}) {
    view->Add("", 0, "p0", "Root", 1, 1);
    for (const char* text : {"no key", "no key either"}) view->Add("p0", tvwChild, "", text, 0, 0);
    for (std::size_t i = 0; i < std::size(kMisuses); ++i) {
      int32_t error = 0;
      try {
        kMisuses[i].first(*view);
      } catch (const platform::RaisedError& raised) {
        error = raised.Number();
      }
      EXPECT_EQ(error, kMisuses[i].second) << "misuse " << i;
      EXPECT_EQ(view->Count(), 3) << "misuse " << i;
    }
  }
}

}  // namespace
