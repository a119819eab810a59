// Runs the built tarvex-cli deps over each project under tests/data/deps/cases against a Wine prefix made
// here: the registry files in tests/data/deps/prefix (32-bit registrations, one for the user) and Wine's
// own libraries in its system32. Runs in a copy of the case's in/ and compares what it prints and its exit
// status with the case's expected/ (stdout.txt, stderr.txt, exit); PREFIX in a case's args stands for the
// prefix.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "tests/fakes/environment_setting.h"
#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

using fakes::EnvironmentSetting;

const fs::path kData = fs::path(TARVEX_SOURCE_DIR) / "tests" / "data" / "deps";
// The 32-bit libraries when libwine:i386 is installed, else the 64-bit ones, which hold the same type
// libraries.
const fs::path kWine32 = fs::exists("/usr/lib/i386-linux-gnu/wine/i386-windows/stdole2.tlb")
                             ? "/usr/lib/i386-linux-gnu/wine/i386-windows"
                             : "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";

using fakes::Scratch;

// wshom.ocx is registered but left out, so that a registered file can be missing.
void MakePrefix(const Scratch& scratch) {
  const fs::path system32 = scratch.Make("prefix/drive_c/windows/system32");
  for (const char* name :
       {"stdole2.tlb", "scrrun.dll", "shdocvw.dll", "msscript.ocx", "vbscript.dll", "hhctrl.ocx"}) {
    fs::copy_file(kWine32 / name, system32 / name);
  }
  fs::create_directories(scratch / "prefix/dosdevices");
  fs::create_directory_symlink("../drive_c", scratch / "prefix/dosdevices/c:");
  fs::create_directory_symlink("/", scratch / "prefix/dosdevices/z:");
  fs::copy_file(kData / "prefix/system.reg", scratch / "prefix/system.reg");
  fs::copy_file(kData / "prefix/user.reg", scratch / "prefix/user.reg");
}

class DepsCases : public ::testing::TestWithParam<std::string> {};

TEST_P(DepsCases, PrintsAndExitsAsExpected) {
  ASSERT_TRUE(fs::exists(kWine32 / "stdole2.tlb"))
      << "Wine's libraries are not installed (scripts/install-deps)";
  const fs::path source = kData / "cases" / GetParam();
  const Scratch scratch;
  fs::create_directories(scratch / GetParam());
  if (fs::exists(source / "in")) fs::copy(source / "in", scratch / GetParam(), fs::copy_options::recursive);
  MakePrefix(scratch);
  // No prefix but the one a case names: none from the environment, no ~/.wine.
  const EnvironmentSetting home("HOME", scratch.Path().string());
  const EnvironmentSetting prefix("WINEPREFIX", std::nullopt);
  std::string args = Scratch::Setting(source / "args", "App.vbp");
  if (const auto at = args.find("PREFIX"); at != std::string::npos) {
    args.replace(at, 6, "'" + (scratch / "prefix").string() + "'");
  }
  const auto [status, out, err] = scratch.Run("deps " + args, GetParam());
  EXPECT_EQ(status, std::stoi(Scratch::ReadAll(source / "expected" / "exit")));
  EXPECT_EQ(out, Scratch::ReadAll(source / "expected" / "stdout.txt"));
  EXPECT_EQ(err, Scratch::ReadAll(source / "expected" / "stderr.txt"));
}

INSTANTIATE_TEST_SUITE_P(Cases, DepsCases, ::testing::ValuesIn(Scratch::Names(kData / "cases")),
                         [](const auto& info) { return Scratch::TestName(info.param); });

}  // namespace
