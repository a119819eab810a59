#include <gtest/gtest.h>

#include "platform/errors.h"
#include "setup/mdl_shell_lnk.h"
#include "tests/fakes/fake_setup.h"
#include "tests/fakes/scripted_dialogs.h"
#include "tests/fakes/table_file.h"

TEST(CreateShortcut, MakesOnlyTheCallsOfItsValuesAndStopsAtTheFirstFailure) {
  const fakes::PassThroughCodePage codePage;
  for (const fakes::Row& row : fakes::ReadTable("setup/shortcuts.txt")) {
    fakes::RecordingShellLinks links;
    links.failAt = row.at(0);
    links.failure = static_cast<int32_t>(std::stoul(row.at(1), nullptr, 16));
    const auto text = [&](int i) { return fakes::Unescaped(row.at(i)); };
    int32_t raised = 0;
    try {
      mdlShellLnk::CreateShortcut({links, codePage}, text(2), text(3), text(4), text(5), text(6),
                                  std::stoi(row.at(7)), std::stoi(row.at(8)), text(9));
    } catch (const platform::RaisedError& error) {
      raised = error.Number();
    }
    EXPECT_EQ(raised, links.failure < 0 ? links.failure : 0) << row[0] << " " << row[2];
    EXPECT_EQ(links.calls, fakes::Row(row.begin() + 10, row.end())) << row[0] << " " << row[2];
  }
}
