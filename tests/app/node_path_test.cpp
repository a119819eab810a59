// What a click on a node shows in the path field, by the node's key.
#include <gtest/gtest.h>

#include "app/frm_main.h"

namespace {

TEST(NodePathText, TheProjectPathNothingOrTheComponentsPathByTheKeysFirstCharacter) {
  mdlFile::ProjectModel model;
  model.filePath = "C:\\Work\\Demo.vbp";
  for (int i = 0; i < 14; ++i) model.components.push_back({3, "M" + std::to_string(i), "m" + std::to_string(i) + ".bas"});
  model.count = 14;
  const std::optional<std::string> unchanged;
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases{
      {"p0", "C:\\Work\\Demo.vbp"}, {"r3", ""}, {"f1", "m1.bas"}, {"f12", "m12.bas"}, {"f13", "m13.bas"},
      {"f14", ""}, {"f99999999999", ""}, {"P0", unchanged}, {"F1", unchanged}, {"x", unchanged}, {"", unchanged}};
  for (const auto& [key, shown] : cases) EXPECT_EQ(frmMain::NodePathText(model, key), shown) << key;
  model.components.resize(2);  // a failed read left fewer components than the tree shows; count ran ahead
  EXPECT_EQ(frmMain::NodePathText(model, "f1"), "m1.bas");
  EXPECT_EQ(frmMain::NodePathText(model, "f3"), "");
}

}  // namespace
