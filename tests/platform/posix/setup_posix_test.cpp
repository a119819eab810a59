// Setup mode on a POSIX host: the XDG programs folders, the probe and the .lnk file on a real disk, and
// tarvex /Setup run as a new user would.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/errors.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/lnk_format.h"
#include "platform/posix/setup_folders.h"
#include "platform/posix/setup_probe_files.h"
#include "platform/posix/shell_link_file.h"
#include "setup/mdl_path.h"
#include "setup/mdl_shell_lnk.h"
#include "tests/fakes/fake_setup.h"
#include "tests/fakes/scratch_folder_posix.h"
#include "tests/fakes/table_file.h"

namespace fs = std::filesystem;

const auto kCodePage = posix::MakeCodePage(1252);

TEST(XdgFolders, ProgramsFoldersComeFromTheDataFolders) {
  fakes::Scratch dir;
  std::string deep = "deep";
  while (dir.Win(deep).size() < 270) deep += "/abcdefghij";
  for (const std::string folder : {"data", "home/.local/share", "one", "two", deep.c_str()})
    dir.Make(folder + "/applications");
  dir.Write("file/applications", "x");
  const char* names[] = {"XDG_DATA_HOME", "XDG_DATA_DIRS", "HOME"};
  posix::XdgShellFolders shell(*kCodePage);
  posix::NoRegistry registry;
  for (const fakes::Row& row : fakes::ReadTable("platform/posix/xdg_folders.txt")) {
    for (int i = 0; i < 3; ++i) {
      std::string value = row.at(i);
      for (std::size_t at; (at = value.find('~')) != std::string::npos;)
        value.replace(at, 1, dir.Path().string());
      if (const std::size_t at = value.find("DEEP"); at != std::string::npos) value.replace(at, 4, deep);
      row[i] == "-" ? unsetenv(names[i]) : setenv(names[i], value.c_str(), 1);
    }
    const auto windows = [&](const std::string& v) { return v.empty() ? v : dir.Win(v.substr(2)) + "\\"; };
    EXPECT_EQ(mdlPath::UserProgramsFolder(shell, registry), windows(row.at(3))) << row[0] << "|" << row[1];
    EXPECT_EQ(mdlPath::CommonProgramsFolder(shell), windows(row.at(4))) << row[0] << "|" << row[1];
  }
  unsetenv("XDG_DATA_DIRS");
  EXPECT_EQ(posix::XdgProgramsFolder(platform::kCsidlCommonPrograms), "/usr/local/share/applications");
}

// The scripted numbers draw AAAAAAAA, then BBBBBBBB: a name taken in any case or by a link is drawn again,
// and what was there is left as it was.
TEST(ProbeFolder, OnlyTheFileTheProbeCreatedIsRemoved) {
  fakes::Scratch dir;
  posix::PosixProbeFiles files(*kCodePage);
  dir.Make("empty");
  dir.Make("locked", fs::perms(0555));
  dir.Write("taken/AAAAAAAA.tmp", "keep me");
  dir.Write("folded/aaaaaaaa.tmp", "keep me");
  fs::create_symlink(dir / "elsewhere", dir.Make("linked") / "AAAAAAAA.tmp");
  for (const fakes::Row& row : fakes::ReadTable("platform/posix/probe_folders.txt")) {
    fakes::CallLog log;
    fakes::ScriptedRandom random(log, {0, 0, 0, 0, 0, 0, 0, 0, .04, .04, .04, .04, .04, .04, .04, .04});
    const int expected = row[0] == "locked" && geteuid() == 0 ? -1 : std::stoi(row.at(1));
    EXPECT_EQ(mdlPath::IsFolderWritable(dir.Win(row[0]), files, random), expected) << row[0];
    if (row[0] != "none") {
      EXPECT_EQ(dir.NamesIn(row[0].substr(0, row[0].find('\\'))), fakes::Row(row.begin() + 2, row.end()));
    }
  }
  EXPECT_EQ(dir.Read("taken/AAAAAAAA.tmp") + dir.Read("folded/aaaaaaaa.tmp"), "keep mekeep me");
  EXPECT_FALSE(fs::exists(dir / "elsewhere"));
  EXPECT_EQ(files.CreateExclusive(dir.Win("folded\\AAAAAAAA.tmp")).outcome,
            platform::ProbeCreate::AlreadyExists);
}

// Two links beside their expected bytes: every property set (the target seen with its attributes, write
// time and size), and only the arguments.
TEST(ShellLinkBytes, MatchTheExpectedFiles) {
  posix::ShellLinkData full{"Z:\\t\\t.exe", "Z:\\t",          "/x y", "Lumor Tarvex", "Z:\\i.dll", 2, 5,
                            0x20,           0x1D9A0B0C0D0E0F, 9};
  posix::ShellLinkData sparse;
  sparse.arguments = "a";
  const std::string folder = std::string(TARVEX_SOURCE_DIR) + "/tests/data/platform/posix/";
  EXPECT_EQ(posix::ShellLinkBytes(full), fakes::Scratch::ReadAll(folder + "full.lnk"));
  EXPECT_EQ(posix::ShellLinkBytes(sparse), fakes::Scratch::ReadAll(folder + "arguments_only.lnk"));
  // liblnk's lnkinfo is the independent reader of the expected file.
  const std::string fields = "'(path|Description|directory|arguments|location|index|size)\\s*:'";
  FILE* lnkinfo = popen(("lnkinfo " + folder + "full.lnk | grep -E " + fields).c_str(), "r");
  std::string shown(4096, '\0');
  shown.resize(fread(shown.data(), 1, shown.size(), lnkinfo));
  EXPECT_EQ(pclose(lnkinfo), 0);
  EXPECT_EQ(shown, fakes::Scratch::ReadAll(folder + "full.lnkinfo.txt"));
  full.description.assign(0xFFFF, 'x');
  EXPECT_TRUE(posix::ShellLinkBytes(full).has_value());
  full.description += 'x';
  EXPECT_FALSE(posix::ShellLinkBytes(full).has_value()) << "a string too long for its 16-bit count";
  EXPECT_EQ(posix::Utf8FromWide(u"a\u00E9\u20AC\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(posix::Utf8FromWide(std::u16string(1, char16_t(0xD800)) + u"a"),
            std::string("\xEF\xBF\xBD") + "a");
}

// The link path is in the code page, its host name in UTF-8.
TEST(ShellLinkFile, ReplacesTheOldFileWithTheLinkOfItsProperties) {
  fakes::Scratch dir;
  posix::ShellLinkFiles factory(*kCodePage);
  const auto create = [&](const std::string& link, const std::string& target) {
    mdlShellLnk::CreateShortcut({factory, *kCodePage}, dir.Win(link), target, "Z:\\w\\", "/a", target, 3, 5,
                                "Lumor Tarvex");
  };
  dir.Write("Men\xc3\xbc.lnk", std::string(4000, 'x'));
  create("Men\xfc.lnk", "Z:\\opt\\Men\xfc\\tarvex.exe");
  create("Men\xfc.lnk", "Z:\\opt\\Men\xfc\\tarvex.exe");
  EXPECT_EQ(dir.Read("Men\xc3\xbc.lnk"),
            posix::ShellLinkBytes({"Z:\\opt\\Men\xfc\\tarvex.exe", "Z:\\w\\", "/a", "Lumor Tarvex",
                                   "Z:\\opt\\Men\xfc\\tarvex.exe", 3, 5}));
  EXPECT_EQ(dir.NamesIn(""), std::vector<std::string>{"Men\xc3\xbc.lnk"}) << "no temporary file is left";

  dir.Write("real.exe", "12345");
  create("Real.lnk", dir.Win("real.exe"));
  const std::string real = dir.Read("Real.lnk");
  EXPECT_EQ(real.substr(0x18, 4) + real.substr(0x34, 4), std::string("\x20\0\0\0\x05\0\0\0", 8))
      << "attributes, size";
  EXPECT_NE(real.substr(0x2C, 8), std::string(8, '\0')) << "an existing target lends its write time";

  // Saving over a folder is run by the program itself (SetupRun).
  try {
    create("missing\\Tarvex.lnk", "Z:\\a.exe");
    ADD_FAILURE() << "saving into a missing folder succeeded";
  } catch (const platform::RaisedError& error) {
    EXPECT_EQ(static_cast<uint32_t>(error.Number()), 0x80070003u);
  }
  EXPECT_EQ(dir.NamesIn(""), (std::vector<std::string>{"Men\xc3\xbc.lnk", "Real.lnk", "real.exe"}));
}

// The built program, run as tests/data/platform/posix/setup_runs.txt says.
TEST(SetupRun, TheLinkGoesToTheFirstFolderThatTakesIt) {
  for (const fakes::Row& row : fakes::ReadTable("platform/posix/setup_runs.txt")) {
    const int allUsers = std::stoi(row.at(0), nullptr, 8);
    const std::string linkFolder = row.at(2);
    SCOPED_TRACE(row.at(3) + " into " + linkFolder);
    fakes::Scratch dir;
    fs::copy_file(TARVEX_PROGRAM, dir.Make("bin", fs::perms(0755)) / "tarvex");
    dir.Make(linkFolder.empty() ? "cwd/Tarvex.lnk" : "cwd");
    if (allUsers) dir.Make("all/applications", fs::perms(allUsers));
    if (row.at(1) == "yes") dir.Make("user/applications");
    std::string command = "cd " + (dir / "cwd").string() + " && XDG_DATA_HOME=" + (dir / "user").string() +
                          " XDG_DATA_DIRS=" + (dir / "all").string() + " HOME=" + (dir / "nohome").string() +
                          (allUsers == 0555 ? " setpriv --reuid=65534 --regid=65534 --clear-groups " : " ") +
                          (dir / "bin/tarvex").string();
    for (auto arg = row.begin() + 3; arg != row.end(); ++arg) command += " '" + *arg + "'";
    command += " 2>" + (dir / "errors").string();
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), linkFolder.empty() ? 1 : 0);
    if (linkFolder.empty()) {
      EXPECT_EQ(dir.Read("errors"), "Setup failed. 0x80070005\n");
      EXPECT_TRUE(fs::is_empty(dir / "cwd/Tarvex.lnk"));
      continue;
    }
    EXPECT_EQ(dir.Read("errors"), "");
    // The target is named tarvex.exe, which does not exist: it lends the link nothing.
    const std::string exe = dir.Win("bin\\tarvex.exe");
    const auto expected = posix::ShellLinkBytes({exe, dir.Win("bin\\"), "", "Lumor Tarvex", exe, 0, 5});
    EXPECT_EQ(dir.Read(linkFolder + "/Tarvex.lnk"), expected);
    // Running again gives the same file, and only the link is left: the probe removed its file.
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 0);
    EXPECT_EQ(dir.Read(linkFolder + "/Tarvex.lnk"), expected);
    EXPECT_EQ(dir.NamesIn(linkFolder), std::vector<std::string>{"Tarvex.lnk"});
    if (allUsers && linkFolder != "all/applications") {
      EXPECT_TRUE(fs::is_empty(dir / "all/applications"));
    }
  }
}
