#include <gtest/gtest.h>

#include <sstream>

#include "app/mdl_main.h"
#include "app/mdl_param.h"
#include "tests/fakes/fake_setup.h"
#include "tests/fakes/table_file.h"

// Each line is parsed on its own (parsing empties the table first) and started with: /Setup only installs
// the shortcut and shows no window; every other line shows the window, with the project when it names one.
// Where the shortcut goes is tried on a real disk by the platform tests.
TEST(Main, CommandLinesGiveTheirSwitchesAndTheirRoad) {
  for (const fakes::Row& row : fakes::ReadTable("app/command_lines.txt")) {
    SCOPED_TRACE("command line \"" + row.at(0) + "\"");
    mdlParam::ParseSwitches(row[0]);
    std::vector<std::string> entries;
    for (const mdlParam::Switch& entry : mdlParam::Switches()) {
      entries.push_back(entry.name + "=" + entry.value);
      // The question is trimmed and lower-cased; the stored names are not touched again, so a name ending
      // in a blank is never found.
      std::string shouted = "  " + entry.name + " ";
      for (char& c : shouted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      EXPECT_EQ(mdlParam::HasSwitch(shouted), entry.name.ends_with(' ') ? 0 : -1) << shouted;
    }
    EXPECT_EQ(entries, std::vector<std::string>(row.begin() + 4, row.end()));
    const bool setup = row.at(1) == "-1";
    EXPECT_EQ(mdlParam::HasSwitch("Setup"), setup ? -1 : 0);

    fakes::FakeSetupMachine m;
    m.links.failAt = row.at(3);
    std::ostringstream errors;
    std::string shown = "no window";
    const auto show = [&](const std::optional<std::string>& project) {
      shown = project ? "the window with " + *project : "the window";
      return 7;
    };
    EXPECT_EQ(mdlMain::Main(row[0], m.platform, show, errors), !setup ? 7 : row[3].empty() ? 0 : 1);
    EXPECT_EQ(errors.str(), row[3].empty() ? "" : "Setup failed. 0x80070005\n");
    EXPECT_EQ(shown, setup ? "no window" : row.at(2).empty() ? "the window" : "the window with " + row[2]);
    // Setup mode finds no programs folder here: the link goes in the current folder, with the program's
    // values.
    std::string calls;
    for (const std::string& call : m.links.calls) calls += call.starts_with("S") ? call + "|" : "";
    EXPECT_EQ(calls,
              setup ? "SetPath C:\\Tools\\Tarvex.exe|SetWorkingDirectory C:\\Tools\\|SetDescription Lumor "
                      "Tarvex|SetIconLocation C:\\Tools\\Tarvex.exe,0|SetShowCmd 5|Save forget Tarvex.lnk|"
                    : "");
  }
}

TEST(Main, SetupFailureTextGivesTheHresultInEightHexDigits) {
  EXPECT_EQ(mdlMain::SetupFailureText(platform::RaisedError(5, "")), "Setup failed. 0x00000005");
}
