// Packing on the real file system, one case of tests/data/pack/disk_cases.txt at a time: a step made to
// fail, or a real fault of the disk (read-only files and folders, FIFOs, a file size limit, a full file
// system, links, files appearing during the pack). Every case runs with unnamed and with named temporary
// files and must end the same: the failures named, one message, the sources and everything outside the
// target folder as they were, and the target folder holding whole files only.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <sstream>

#include "pack/mdl_file_pack.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/pack_files_posix.h"
#include "tests/fakes/fake_pack_files.h"
#include "tests/fakes/recording_ui.h"
#include "tests/fakes/scratch_folder_posix.h"
#include "tests/fakes/scripted_dialogs.h"
#include "tests/fakes/table_file.h"

namespace fs = std::filesystem;

namespace {

struct Case {
  std::string name;
  std::vector<fakes::Row> lines;  // the verb and its arguments, in order
};
void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

std::vector<Case> Cases() {
  std::vector<Case> cases{{"the lines before the first case, which begin every case", {}}};
  for (const fakes::Row& row : fakes::ReadTable("pack/disk_cases.txt", " ", 2)) {
    if (row[0] == "case") cases.push_back({row.at(1), cases[0].lines});
    if (row[0] != "case") cases.back().lines.push_back(row);
  }
  cases.erase(cases.begin());
  return cases;
}

class DiskCase : public ::testing::TestWithParam<Case> {};

TEST_P(DiskCase, EndsAsWrittenWithEitherKindOfTemporaryFile) {
  for (const bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed files" : "named temporary files");
    fakes::Scratch s;
    s.Make("out");
    // A file system mounted on the target folder by a case goes before the folder does.
    struct Unmount {
      fs::path folder;
      ~Unmount() { ::umount2(folder.c_str(), MNT_DETACH); }
    } unmount{s / "out"};
    mdlFile::ProjectModel model;
    model.filePath = s.Win("src\\Demo.vbp");
    const auto codePage = posix::MakeCodePage(1252);
    posix::PosixPackFiles disk(*codePage);
    if (!unnamed) disk.UseNamedTemporaryFiles();
    fakes::InjectingPackFiles files(disk);
    fakes::RecordingPointer pointer;
    fakes::RecordingMessages messages{&pointer};
    std::vector<std::string> failed;
    const mdlFile::PackContext context{
        files, pointer, messages, [&](const mdlFile::PackFailure& f) {
          failed.push_back(s.Relative(f.attempted + " -- " + f.file + ": " + f.reason));
        }};
    std::string target = "out/Demo.vbp";
    // The lines of "limit", "failed", "file" and "left", read once the case is arranged.
    std::map<std::string, std::vector<std::string>> given;
    // A command of the data file, run by the shell in the scratch folder.
    const auto shell = [root = s.Path().string()](const std::string& command) {
      return std::system(("cd '" + root + "' && " + command).c_str()) == 0;
    };
    for (const fakes::Row& line : GetParam().lines) {
      const std::string& verb = line[0];
      const std::string rest = line.size() > 1 ? line[1] : "";
      std::istringstream words(rest);
      std::string a, b;
      std::getline(words >> a >> std::ws, b);
      if (verb == "$") {
        ASSERT_TRUE(shell(rest)) << rest;
      } else if (verb == "needs") {
        if (!shell(rest)) GTEST_SKIP() << "this machine cannot " << rest;
      } else if (verb == "component") {
        model.components.push_back({std::stoi(a), b.substr(0, b.find(' ')), b.substr(b.find(' ') + 1)});
      } else if (verb == "target") {
        target = a;
      } else if (verb == "inject") {
        auto& fault = files.faults.emplace_back(fakes::InjectingPackFiles::Fault{a, "", 0});
        std::istringstream(b) >> fault.path >> fault.after;
        if (fault.path == "-") fault.path.clear();
      } else if (verb == "intrude") {
        files.beforeCopy = [shell, a, b](const std::string& to) {
          if (to.ends_with("\\" + a)) shell(b);
        };
      } else if (verb == "pack") {
        model.count = static_cast<int32_t>(model.components.size());
        mdlFile::PackProject(model, s.Win(target), context);
        failed.clear();
        messages.shown.clear();
      } else {
        ASSERT_TRUE(verb == "limit" || verb == "failed" || verb == "file" || verb == "left") << verb;
        given[verb].push_back(rest);
      }
    }
    model.count = static_cast<int32_t>(model.components.size());
    const auto before = s.Snapshot("");

    ::alarm(60);  // a step that blocked (a FIFO opened) would end the program here instead of hanging it
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{given.count("limit") ? std::stoul(given["limit"][0]) : old.rlim_cur, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool saved = mdlFile::PackProject(model, s.Win(target), context);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, previous);
    ::alarm(0);
    fs::permissions(s / "out", fs::perms::owner_all, fs::perm_options::add);

    EXPECT_EQ(saved, given["failed"].empty());
    EXPECT_EQ(failed, given["failed"]);
    EXPECT_EQ(messages.Only(),
              saved ? messages.Said("Project saved.", platform::MB_OK | platform::MB_ICONINFORMATION)
                    : messages.Said("Error during save.", platform::MB_OK | platform::MB_ICONERROR));
    EXPECT_GE(pointer.busyUnderHourglass, model.count) << "the window is let repaint after every component";
    // Names as well as bytes: a temporary file left behind would show here.
    for (const std::string& left : given["left"]) {
      const std::string folder = left.substr(0, left.find(':'));
      std::string names;
      for (const std::string& name : s.NamesIn(folder)) names += " " + name;
      EXPECT_EQ(folder + ":" + names, left);
    }
    for (const std::string& file : given["file"]) {
      const std::string name = file.substr(0, file.find(' '));
      EXPECT_EQ(s.Read(name), fakes::Unescaped(file.substr(name.size() + 1))) << name;
    }
    // The sources keep their bytes, and nothing outside the target folder is written.
    EXPECT_EQ(s.Trespasses(before, "src/", fs::path(target).parent_path()), std::vector<std::string>{});
  }
}

INSTANTIATE_TEST_SUITE_P(Data, DiskCase, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return fakes::Scratch::TestName(info.param.name); });

}  // namespace
