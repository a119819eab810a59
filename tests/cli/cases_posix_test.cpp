// Every folder under tests/data/projects is one case: the project in in/ is read with `tarvex-cli tree
// --json` and packed with `tarvex-cli pack`; what they print and the packed folder must match expected/.
// Optional files beside in/: `source` (the project, relative to in/; default Project.vbp), `target` (relative
// to the scratch folder; default out/Project.vbp) and out/ (files already in the target folder).
// TARVEX_UPDATE_CASES=1 writes expected/ from what the programs do now.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCases = fs::path(TARVEX_SOURCE_DIR) / "tests/data/projects";

std::string ReadAll(const fs::path& path) { return fakes::Scratch::ReadAll(path); }

void WriteAll(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Setting(const fs::path& file, const std::string& fallback) {
  std::string value = fs::exists(file) ? ReadAll(file) : fallback;
  while (value.ends_with('\n') || value.ends_with('\r')) value.pop_back();
  return value;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

class ProjectCase : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    dir = kCases / GetParam();
    fs::create_directories(root / "out");
    fs::copy(dir / "in", root / "in", fs::copy_options::recursive);
    if (fs::exists(dir / "out")) fs::copy(dir / "out", root / "out", fs::copy_options::recursive);
  }

  // Runs the program; returns its exit status, with what it printed (the scratch folder as <root>).
  int Run(const std::string& args, std::string& out, std::string& err) {
    const std::string command = "cd '" + root.string() + "' && '" + TARVEX_BINARY_DIR + "/cli/tarvex-cli' " + args +
                                " >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    out = ReadAll(root / "stdout.txt");
    err = ReadAll(root / "stderr.txt");
    fs::remove(root / "stdout.txt");
    fs::remove(root / "stderr.txt");
    std::string jsonRoot = windowsRoot;
    ReplaceAll(jsonRoot, "\\", "\\\\");
    for (std::string* text : {&out, &err}) {
      ReplaceAll(*text, jsonRoot, "<root>");
      ReplaceAll(*text, windowsRoot, "<root>");
      ReplaceAll(*text, root.string(), "<root>");
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fakes::Scratch scratch;
  fs::path dir;
  const fs::path root = scratch.Path();
  const std::string windowsRoot = scratch.Win();
};

TEST_P(ProjectCase, ReadsAndPacksAsExpected) {
  const std::string source = "in/" + Setting(dir / "source", "Project.vbp");
  const std::string target = Setting(dir / "target", "out/Project.vbp");
  const fs::path targetFolder = fs::weakly_canonical((root / target).parent_path());
  const auto sources = scratch.Snapshot("in");

  std::string json, treeErr, packOut, packErr;
  const int treeExit = Run("tree --json '" + source + "'", json, treeErr);
  const int packExit = Run("pack '" + source + "' '" + target + "'", packOut, packErr);
  const std::string results = "tree exit " + std::to_string(treeExit) + "\n" + treeErr + "pack exit " +
                              std::to_string(packExit) + "\n" + packOut + packErr;
  const auto packed = scratch.Snapshot(targetFolder);

  if (std::getenv("TARVEX_UPDATE_CASES")) {
    fs::remove_all(dir / "expected");
    WriteAll(dir / "expected/tree.json", json);
    WriteAll(dir / "expected/results.txt", results);
    for (const auto& [name, bytes] : packed) WriteAll(dir / "expected/packed" / name, bytes);
    return;
  }
  EXPECT_EQ(json, ReadAll(dir / "expected/tree.json"));
  EXPECT_EQ(results, ReadAll(dir / "expected/results.txt"));
  EXPECT_EQ(packed, scratch.Snapshot(dir / "expected/packed"));
  // A pack never changes a file it reads; packing into the project's own folder only adds to it.
  for (const auto& [name, bytes] : scratch.Snapshot("in")) {
    EXPECT_EQ(bytes, sources.count(name) ? sources.at(name) : bytes) << name << " was changed";
  }
  // Nothing is written outside the target folder.
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const fs::path path = entry.path();
    if (!entry.is_regular_file() || path.string().rfind(targetFolder.string(), 0) == 0) continue;
    EXPECT_TRUE(sources.count(fs::relative(path, root / "in").string())) << path << " was written";
  }
}

std::vector<std::string> Cases() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kCases)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Data, ProjectCase, ::testing::ValuesIn(Cases()),
                         [](const auto& info) {
                           std::string name = info.param;
                           for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(CommandLine, WrongArgumentsAreUsageErrorsThatTouchNothing) {
  fakes::Scratch scratch;
  scratch.Write("App.vbp", "Module=M; M.bas\r\n");
  for (const std::string args : {"", "tree", "tree a.vbp b.vbp", "pack App.vbp", "pack App.vbp 'x y' z", "bogus"}) {
    const std::string command = "cd '" + scratch.Path().string() + "' && '" TARVEX_BINARY_DIR "/cli/tarvex-cli' " +
                                args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args;
    EXPECT_EQ(scratch.NamesIn(""), std::vector<std::string>{"App.vbp"}) << args;
  }
}

}  // namespace
