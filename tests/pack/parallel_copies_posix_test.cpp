// Copies made side by side must leave a pack exactly as copies made one at a time do: the same failures in
// the same order, the same message, the same files with the same bytes and permissions, the later of two
// files packed to one name (in any case) under it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "pack/copy_runner.h"
#include "pack/mdl_file_pack.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/pack_files_posix.h"
#include "tests/fakes/recording_ui.h"
#include "tests/fakes/scratch_folder_posix.h"

namespace {

namespace fs = std::filesystem;

constexpr int kModules = 240;

// The POSIX files, counting how many copies run at once; each copy lingers a moment, so that copies
// meant to run side by side do meet.
class CountingPackFiles : public platform::PackFiles {
 public:
  explicit CountingPackFiles(platform::PackFiles& files) : files_(files) {}
  int most() const { return most_; }

  platform::FileIdentity CopyReplacing(const std::string& from, const std::string& to) override {
    const int now = ++running_;
    for (int seen = most_; now > seen && !most_.compare_exchange_weak(seen, now);) {
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    struct Leave {
      std::atomic<int>& running;
      ~Leave() { --running; }
    } leave{running_};
    return files_.CopyReplacing(from, to);
  }
  bool CopiesSideBySide() const override { return files_.CopiesSideBySide(); }
  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override {
    return files_.OpenInput(path);
  }
  std::bitset<256> LeadBytes() const override { return files_.LeadBytes(); }
  std::unique_ptr<platform::OutputFile> CreateOutput(const std::string& path) override {
    return files_.CreateOutput(path);
  }
  bool Exists(const std::string& path) override { return files_.Exists(path); }
  std::optional<platform::FileIdentity> Identify(const std::string& path) override {
    return files_.Identify(path);
  }
  platform::FileState StateOf(const std::string& path) override { return files_.StateOf(path); }
  void ReplaceWhole(const std::string& path, std::string_view bytes,
                    const platform::FileState* expected) override {
    files_.ReplaceWhole(path, bytes, expected);
  }

 private:
  platform::PackFiles& files_;
  std::atomic<int> running_ = 0;
  std::atomic<int> most_ = 0;
};

struct Outcome {
  std::vector<std::string> failures;  // the target folder's path written as T
  std::vector<std::string> shown;
  std::map<std::string, std::string> files;  // with modes
  int together = 0;                          // the most copies that ran at once
};

// A project with failures of the kinds a copy has, spread among many good copies: read-only files of an
// earlier pack, different files packed to one name in another case, a file named twice, forms with and
// without their .frx; with missing, also missing sources.
mdlFile::ProjectModel WriteProject(const fakes::Scratch& s, bool missing = false) {
  mdlFile::ProjectModel model;
  model.filePath = s.Win("src\\App.vbp");
  std::string project = "Type=Exe\r\n";
  const auto add = [&](int32_t kind, const std::string& line, const std::string& path) {
    model.components.push_back({kind, "C", path});
    project += line + path + "\r\n";
  };
  for (int k = 0; k < kModules; ++k) {
    const std::string name = "M" + std::to_string(k) + ".bas";
    if (!missing || k % 17 != 5) s.Write("src/" + name, "module " + std::to_string(k));
    add(mdlFile::kindModule, "Module=M; ", name);
    if (k % 40 == 7) {
      // Another file under the same name in another case, farther on; then the first file again.
      s.Write("src/other/" + name, "other " + std::to_string(k));
      add(mdlFile::kindModule, "Module=M; ", "other\\m" + std::to_string(k) + ".BAS");
      add(mdlFile::kindModule, "Module=M; ", name);
    }
    if (k % 3 == 0) {
      const std::string form = "F" + std::to_string(k);
      s.Write("src/" + form + ".frm", "form " + std::to_string(k));
      if (k % 2 == 0) s.Write("src/" + form + ".frx", std::string(5000, static_cast<char>('a' + k % 26)));
      add(mdlFile::kindForm, "Form=", form + ".frm");
    }
  }
  model.count = static_cast<int32_t>(model.components.size());
  s.Write("src/App.vbp", project + "Name=\"App\"\r\n");
  return model;
}

Outcome Pack(const fakes::Scratch& s, const mdlFile::ProjectModel& model, const std::string& folder,
             unsigned threads) {
  s.Make(folder);
  // An earlier pack left some files, a few of them read-only.
  for (int k = 0; k < kModules; k += 11) {
    s.Write(folder + "/M" + std::to_string(k) + ".bas", "earlier");
    if (k % 2 == 0) fs::permissions(s / (folder + "/M" + std::to_string(k) + ".bas"), fs::perms(0444));
  }
  const auto codePage = posix::MakeCodePage(1252);
  posix::PosixPackFiles posixFiles(*codePage);
  CountingPackFiles files(posixFiles);
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages{&pointer};
  Outcome outcome;
  const std::string target = s.Win(folder);
  const std::string root = s.Win();
  const auto shown = [&](std::string text) {
    for (std::size_t at; (at = text.find(target)) != std::string::npos;) text.replace(at, target.size(), "T");
    for (std::size_t at; (at = text.find(root)) != std::string::npos;) text.replace(at, root.size(), "R");
    return text;
  };
  mdlFile::PackContext context{
      files, pointer, messages, [&](const mdlFile::PackFailure& failure) {
        outcome.failures.push_back(shown(failure.attempted + " | " + failure.file + " | " + failure.reason));
      }};
  context.copyThreads = threads;
  mdlFile::PackProject(model, target + "\\App.vbp", context);
  outcome.shown = messages.shown;
  outcome.files = s.Snapshot(folder, true);
  outcome.together = files.most();
  return outcome;
}

TEST(ParallelCopies, EndAsCopiesOneAtATime) {
  const fakes::Scratch s;
  const auto model = WriteProject(s);
  {
    const auto codePage = posix::MakeCodePage(1252);
    posix::PosixPackFiles files(*codePage);
    ASSERT_GT(mdlFile::CopyThreads(4, files, model.components.size()), 1u)
        << "the copies would not run side by side";
  }
  const Outcome alone = Pack(s, model, "alone", 0);
  ASSERT_EQ(alone.together, 1);
  ASSERT_GT(alone.failures.size(), 20u);
  ASSERT_EQ(alone.shown.size(), 1u);
  EXPECT_NE(alone.shown[0].find("Error during save."), std::string::npos);
  for (int round = 0; round < 4; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const Outcome together = Pack(s, model, "together" + std::to_string(round), 4);
    EXPECT_GT(together.together, 1);
    EXPECT_EQ(together.failures, alone.failures);
    EXPECT_EQ(together.shown, alone.shown);
    EXPECT_EQ(together.files, alone.files);
  }
}

// Packs in which a copy may read what another writes copy one file at a time, so that a later copy still
// reads what an earlier one wrote: a source linked to a file of the earlier pack, a source linked to a
// name that leads nowhere until the pack writes it, a source that is not there at all (which may be
// such a link).
struct Meeting {
  const char* name;
  int linkOffset;  // links to M(k + offset).bas in the target for every eleventh module; -1: none
  bool missing;
};

void PrintTo(const Meeting& meeting, std::ostream* out) {
  *out << meeting.name;
}

class MeetingCopies : public testing::TestWithParam<Meeting> {};

TEST_P(MeetingCopies, RunOneAtATimeAndEndTheSame) {
  const Meeting meeting = GetParam();
  const auto pack = [&meeting](unsigned threads) {
    const fakes::Scratch s;
    auto model = WriteProject(s, meeting.missing);
    for (int k = 0; meeting.linkOffset >= 0 && k < kModules; k += 11) {
      const std::string name = "M" + std::to_string(k + meeting.linkOffset) + ".bas";
      fs::create_symlink("../out/" + name, s / ("src/L" + name));
      const auto packed = std::find_if(model.components.begin(), model.components.end(),
                                       [&](const mdlFile::Component& c) { return c.path == name; });
      model.components.insert(packed + 1, {mdlFile::kindModule, "L", "L" + name});
    }
    model.count = static_cast<int32_t>(model.components.size());
    return Pack(s, model, "out", threads);
  };
  const Outcome alone = pack(0);
  if (meeting.linkOffset >= 0) {
    const int k = 11 + meeting.linkOffset;
    // Read after the pack wrote the module.
    ASSERT_EQ(alone.files.at("LM" + std::to_string(k) + ".bas"), "module " + std::to_string(k));
  }
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const Outcome together = pack(4);
    EXPECT_EQ(together.together, 1);
    EXPECT_EQ(together.failures, alone.failures);
    EXPECT_EQ(together.shown, alone.shown);
    EXPECT_EQ(together.files, alone.files);
  }
}

INSTANTIATE_TEST_SUITE_P(ParallelCopies, MeetingCopies,
                         testing::Values(Meeting{"LinksToEarlierFiles", 0, false},
                                         Meeting{"LinksLeadingNowhereYet", 1, false},
                                         Meeting{"MissingSources", -1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
