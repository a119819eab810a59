// Runs the built tarvex-cli check on a copy of each project under tests/data/check and compares what
// it prints, its exit status and every file's bytes afterwards with what the case keeps beside it:
// expected.txt, expected-stderr.txt, exit, and fixed/ for the files a fix rewrites. args holds the
// command's arguments (default App.vbp); readonly names files made read-only first.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(TARVEX_SOURCE_DIR) / "tests" / "data" / "check";
const std::set<std::string> kCaseFiles{"expected.txt", "expected-stderr.txt", "exit", "args", "readonly", "fixed"};

using fakes::Scratch;

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// Every file under the folder by its relative path, with its bytes and its permissions.
std::map<std::string, std::pair<std::string, fs::perms>> Snapshot(const fs::path& folder) {
  std::map<std::string, std::pair<std::string, fs::perms>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), folder).string()] = {Scratch::ReadAll(entry.path()), entry.status().permissions()};
    }
  }
  return files;
}

class CheckTable : public ::testing::TestWithParam<std::string> {};

TEST_P(CheckTable, PrintsExitsAndLeavesFilesAsExpected) {
  const fs::path source = kData / GetParam();
  // The copy keeps the case's name, so that a path climbing out of it and back in still works.
  const Scratch scratch;
  const fs::path& top = scratch.Path();
  const fs::path work = scratch.Make(GetParam());
  for (const auto& entry : fs::directory_iterator(source)) {
    if (kCaseFiles.count(entry.path().filename().string()) == 0) {
      fs::copy(entry.path(), work / entry.path().filename(), fs::copy_options::recursive);
    }
  }
  const std::vector<std::string> readOnly = Words(Scratch::ReadAll(source / "readonly"));
  for (const auto& name : readOnly) {
    fs::permissions(work / name, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }
  // An odd mode, so that a rewrite keeping the file's permissions is told from one taking the defaults.
  if (fs::exists(work / "App.vbp") && readOnly.empty()) fs::permissions(work / "App.vbp", fs::perms(0640));
  const auto before = Snapshot(work);

  std::string command = "cd '" + work.string() + "' && '" + TARVEX_BINARY_DIR + "/cli/tarvex-cli' check";
  const std::string args = fs::exists(source / "args") ? Scratch::ReadAll(source / "args") : "App.vbp";
  for (const auto& arg : Words(args)) command += " '" + arg + "'";
  command += " >'" + (top / "out").string() + "' 2>'" + (top / "err").string() + "'";
  const int status = std::system(command.c_str());

  EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::stoi(Scratch::ReadAll(source / "exit")));
  EXPECT_EQ(Scratch::ReadAll(top / "out"), Scratch::ReadAll(source / "expected.txt"));
  EXPECT_EQ(Scratch::ReadAll(top / "err"), Scratch::ReadAll(source / "expected-stderr.txt"));
  // Only a fix writes, only the files it names, keeping their permissions, and it leaves no temporary
  // file behind.
  const auto after = Snapshot(work);
  EXPECT_EQ(after.size(), before.size());
  for (const auto& [name, file] : before) {
    const fs::path fixed = source / "fixed" / name;
    ASSERT_EQ(after.count(name), 1u) << name;
    EXPECT_EQ(after.at(name).first, fs::exists(fixed) ? Scratch::ReadAll(fixed) : file.first) << name;
    EXPECT_EQ(after.at(name).second, file.second) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckTable, ::testing::ValuesIn(Scratch::Names(kData)),
                         [](const auto& info) { return Scratch::TestName(info.param); });

}  // namespace
