#include <gtest/gtest.h>

#include "cli/memory_tree_view.h"
#include "project/mdl_file.h"

namespace {

using mdlFile::Component;
using mdlFile::ProjectModel;
using Node = cli::MemoryTreeView::Node;

ProjectModel Project(int32_t type, std::vector<Component> components) {
  ProjectModel model;
  model.name = "Demo";
  model.type = type;
  model.components = std::move(components);
  model.count = static_cast<int32_t>(model.components.size());
  return model;
}

std::vector<std::string> ChildKeys(const Node& node) {
  std::vector<std::string> keys;
  for (const Node* child : node.children) keys.push_back(child->key);
  return keys;
}

TEST(ProjectTree, OnlyFoldersOfKindsThatOccurRemainInKindOrder) {
  cli::MemoryTreeView tree;
  mdlFile::BuildProjectTree(
      Project(1, {{3, "Tools", "a\\Tools.bas"}, {1, "Main", "Main.frm"}, {3, "Util", "Util.bas"}}), tree);
  ASSERT_EQ(tree.Roots().size(), 1u);
  const Node& root = *tree.Roots()[0];
  EXPECT_EQ(root.key, "p0");
  EXPECT_EQ(root.text, "Demo");
  EXPECT_EQ(root.image, 1);
  EXPECT_EQ(root.selectedImage, 1);
  EXPECT_TRUE(root.expanded);
  EXPECT_EQ(ChildKeys(root), (std::vector<std::string>{"r1", "r3"}));
  const Node& forms = *root.children[0];
  EXPECT_EQ(forms.text, "Forms");
  EXPECT_EQ(forms.image, 5);
  EXPECT_EQ(forms.selectedImage, 6);
  EXPECT_FALSE(forms.expanded);
  const Node& modules = *root.children[1];
  EXPECT_EQ(modules.text, "Modules");
  EXPECT_EQ(ChildKeys(modules), (std::vector<std::string>{"f0", "f2"})) << "file order, not sorted by text";
  EXPECT_EQ(modules.children[0]->text, "Tools");
  EXPECT_EQ(modules.children[0]->image, 9);
  EXPECT_EQ(forms.children[0]->image, 7);
  EXPECT_EQ(tree.Count(), 6);
}

TEST(ProjectTree, EveryKindHasItsCaptionAndPicture) {
  std::vector<Component> all;
  for (int32_t kind = 1; kind <= 8; ++kind) all.push_back({kind, "c" + std::to_string(kind), "p"});
  cli::MemoryTreeView tree;
  mdlFile::BuildProjectTree(Project(4, all), tree);
  const std::vector<std::string> captions{"Forms",         "MDI Forms",     "Modules",        "Class Modules",
                                          "User Controls", "PropertyPages", "User Documents", "Designers"};
  const Node& root = *tree.Roots()[0];
  EXPECT_EQ(root.image, 4);
  ASSERT_EQ(root.children.size(), 8u);
  for (int32_t kind = 1; kind <= 8; ++kind) {
    const Node& folder = *root.children[kind - 1];
    EXPECT_EQ(folder.key, "r" + std::to_string(kind));
    EXPECT_EQ(folder.text, captions[kind - 1]);
    ASSERT_EQ(folder.children.size(), 1u);
    EXPECT_EQ(folder.children[0]->key, "f" + std::to_string(kind - 1));
    EXPECT_EQ(folder.children[0]->image, kind + 6);
    EXPECT_EQ(folder.children[0]->selectedImage, kind + 6);
  }
}

TEST(ProjectTree, AnEmptyProjectIsTheRootAloneExpanded) {
  cli::MemoryTreeView tree;
  ProjectModel model = Project(2, {});
  model.name = "";
  mdlFile::BuildProjectTree(model, tree);
  ASSERT_EQ(tree.Count(), 1);
  EXPECT_EQ(tree.Roots()[0]->text, "");
  EXPECT_TRUE(tree.Roots()[0]->expanded);
  EXPECT_TRUE(tree.Roots()[0]->children.empty());
}

TEST(ProjectTree, MdiFormsAloneLeaveNoFormsFolder) {
  cli::MemoryTreeView tree;
  mdlFile::BuildProjectTree(Project(1, {{2, "Shell", "Shell.frm"}, {2, "Shell", "b\\Shell.frm"}}), tree);
  const Node& root = *tree.Roots()[0];
  EXPECT_EQ(ChildKeys(root), (std::vector<std::string>{"r2"}));
  EXPECT_EQ(root.children[0]->children.size(), 2u) << "same names, different keys";
}

TEST(ProjectTree, KeysPastNineHaveAllTheirDigits) {
  std::vector<Component> many(12, Component{4, "C", "c.cls"});
  cli::MemoryTreeView tree;
  mdlFile::BuildProjectTree(Project(1, many), tree);
  ASSERT_NE(tree.Find("f10"), nullptr);
  ASSERT_NE(tree.Find("f11"), nullptr);
  EXPECT_EQ(tree.Find("f11")->parent->key, "r4");
}

TEST(ProjectTree, ComponentsOfNoKindStandUnderTheRootAfterTheFolders) {
  cli::MemoryTreeView tree;
  mdlFile::BuildProjectTree(Project(0, {{0, "", "Tools.bas"}, {3, "M", "m.bas"}, {0, "Odd", "odd.frm"}}), tree);
  const Node& root = *tree.Roots()[0];
  EXPECT_EQ(root.image, 0) << "no type, no picture";
  EXPECT_EQ(ChildKeys(root), (std::vector<std::string>{"r3", "f0", "f2"}));
  EXPECT_EQ(root.children[1]->text, "Tools.bas") << "the path stands in for a missing name";
  EXPECT_EQ(root.children[2]->text, "Odd");
  EXPECT_EQ(root.children[1]->image, 0);
}

TEST(ProjectTree, ARebuildRemovesEveryNodeOfTheLastTree) {
  cli::MemoryTreeView tree;
  mdlFile::BuildProjectTree(Project(1, {{1, "A", "a"}, {5, "B", "b"}, {8, "C", "c"}}), tree);
  mdlFile::BuildProjectTree(Project(3, {{4, "D", "d"}}), tree);
  EXPECT_EQ(tree.Count(), 3);
  EXPECT_EQ(tree.Find("r1"), nullptr);
  EXPECT_EQ(tree.Find("f2"), nullptr);
  EXPECT_EQ(tree.Roots()[0]->image, 3);
}

}  // namespace
