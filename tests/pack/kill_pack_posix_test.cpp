// A pack killed at a random moment: a child process packs a large project over an earlier pack and is
// killed with SIGKILL part-way. Every name in the target folder must then hold the earlier bytes or the
// whole new ones, whichever kind of temporary file the pack uses, with copies one at a time or side by side.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "pack/mdl_file_pack.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/pack_files_posix.h"
#include "tests/fakes/recording_ui.h"
#include "tests/fakes/scratch_folder_posix.h"

namespace {

constexpr int kModules = 400;

// Packs the project in the scratch folder to the folder named, in this process.
bool Pack(const fakes::Scratch& s, const std::string& folder, bool unnamed, unsigned copyThreads) {
  mdlFile::ProjectModel model;
  model.filePath = s.Win("src\\App.vbp");
  for (int k = 0; k < kModules; ++k) model.components.push_back({3, "M", "M" + std::to_string(k) + ".bas"});
  model.count = kModules;
  const auto codePage = posix::MakeCodePage(1252);
  posix::PosixPackFiles files(*codePage);
  if (!unnamed) files.UseNamedTemporaryFiles();
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages{&pointer};
  mdlFile::PackContext context{files, pointer, messages};
  context.copyThreads = copyThreads;
  return mdlFile::PackProject(model, s.Win(folder + "\\App.vbp"), context);
}

TEST(KilledPack, LeavesEveryNameEarlierOrWhole) {
  const fakes::Scratch s;
  s.Make("src");
  std::string project = "Type=Exe\r\n";
  for (int k = 0; k < kModules; ++k) project += "Module=M; M" + std::to_string(k) + ".bas\r\n";
  for (int k = 0; k < 20000; ++k) project += "Title=\"a line carried over to make the file large\"\r\n";
  s.Write("src/App.vbp", project);
  for (int k = 0; k < kModules; ++k)
    s.Write("src/M" + std::to_string(k) + ".bas", std::string(8192, 'a' + k % 26));
  s.Make("whole");
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(Pack(s, "whole", true, 0));
  // Kills land anywhere from the start to a little after a whole pack would have ended.
  const auto took =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
  std::uniform_int_distribution<long> moment(0, took.count() * 6 / 5);
  const auto whole = s.Snapshot("whole");

  std::mt19937 random(std::random_device{}());
  int killedPartWay = 0;
  for (int trial = 0; trial < 16; ++trial) {
    const bool unnamed = trial % 2 == 0;
    const unsigned copyThreads = trial % 4 < 2 ? 0 : 4;
    SCOPED_TRACE("trial " + std::to_string(trial) + (unnamed ? ", unnamed files" : ", named files") +
                 (copyThreads == 0 ? ", one copy at a time" : ", copies side by side"));
    const std::string out = "out" + std::to_string(trial);
    s.Make(out);
    for (const auto& [name, bytes] : whole) s.Write(out + "/" + name, "earlier " + name);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) _exit(Pack(s, out, unnamed, copyThreads) ? 0 : 1);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) ++killedPartWay;
    for (const auto& [name, bytes] : s.Snapshot(out)) {
      // A temporary file is no final name: named ones stay behind a kill, unnamed ones only when the kill
      // lands in the moment a fresh name is renamed over the old file.
      if (name.starts_with(".tarvex-")) continue;
      ASSERT_TRUE(whole.count(name)) << name << " is no name of the pack";
      EXPECT_TRUE(bytes == "earlier " + name || bytes == whole.at(name))
          << name << " holds " << bytes.size() << " bytes, neither the earlier file nor the whole new one";
    }
  }
  // A pack that always ended before the kill would prove nothing.
  EXPECT_GT(killedPartWay, 4);
}

}  // namespace
