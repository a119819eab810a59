// What a click on a node shows in the path field, by the node's key.
#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "tests/fakes/table_file.h"

TEST(NodePathText, TheProjectPathNothingOrTheComponentsPathByTheKeysFirstCharacter) {
  for (const fakes::Row& row : fakes::ReadTable("app/node_paths.txt")) {
    mdlFile::ProjectModel model;
    model.filePath = "C:\\Work\\Demo.vbp";
    for (int i = 0; i < std::stoi(row.at(0)); ++i)
      model.components.push_back({3, "M" + std::to_string(i), "m" + std::to_string(i) + ".bas"});
    model.count = 14;
    EXPECT_EQ(frmMain::NodePathText(model, row.at(1)).value_or("-"), row.at(2)) << row[0] << "|" << row[1];
  }
}
