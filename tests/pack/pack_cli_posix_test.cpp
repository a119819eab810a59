#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class PackCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("tarvex-pack-cli-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "src");
    fs::create_directories(root / "out");
    Write("src/App.vbp", "Type=Exe\r\nForm=Main.frm\r\nModule=Util; Util.bas\r\nName=\"App\"\r\n");
    Write("src/Main.frm", "VERSION 5.00\r\nBegin VB.Form Main\r\nEnd\r\nAttribute VB_Name = \"Main\"\r\n");
    Write("src/Util.bas", "Attribute VB_Name = \"Util\"\r\n");
  }
  void TearDown() override { fs::remove_all(root); }
  void Write(const std::string& relative, const std::string& content) {
    std::ofstream(root / relative, std::ios::binary) << content;
  }
  Outcome Pack(const std::string& source, const std::string& target) {
    const std::string command = std::string("'") + TARVEX_BINARY_DIR + "/cli/tarvex-cli' pack '" + source +
                                "' '" + target + "' >'" + (root / "stdout").string() + "' 2>'" +
                                (root / "stderr").string() + "'";
    Outcome run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadAll(root / "stdout");
    run.err = ReadAll(root / "stderr");
    fs::remove(root / "stdout");
    fs::remove(root / "stderr");
    return run;
  }
  fs::path root;
};

TEST_F(PackCommand, SuccessPrintsOnlyProjectSaved) {
  const Outcome run = Pack((root / "src/App.vbp").string(), (root / "out/Packed.vbp").string());
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "Project saved.\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadAll(root / "out/Packed.vbp"),
            "Form=Main.frm\r\nModule=Util; Util.bas\r\nType=Exe\r\nName=\"App\"\r\n");
  EXPECT_EQ(ReadAll(root / "out/Util.bas"), "Attribute VB_Name = \"Util\"\r\n");
}

TEST_F(PackCommand, FailedStepsAreNamedThenTheMessage) {
  fs::remove(root / "src/Util.bas");
  const Outcome run = Pack((root / "src/App.vbp").string(), (root / "out/Packed.vbp").string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  const std::string expected = "copy Z:" + [&] {
    std::string path = (root / "src").string();
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
  }() + "\\Util.bas to ";
  EXPECT_EQ(run.err.rfind(expected, 0), 0u) << run.err;
  EXPECT_NE(run.err.find("The system cannot find the file specified.\n"), std::string::npos) << run.err;
  EXPECT_EQ(run.err.substr(run.err.size() - 19), "Error during save.\n");
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 2);
}

TEST_F(PackCommand, FailedReadPrintsErrorAndWritesNothing) {
  fs::remove(root / "src/Main.frm");
  const Outcome run = Pack((root / "src/App.vbp").string(), (root / "out/Packed.vbp").string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Error.\n");
  EXPECT_TRUE(fs::is_empty(root / "out"));
}

TEST_F(PackCommand, TargetFolderMustExist) {
  const Outcome run = Pack((root / "src/App.vbp").string(), (root / "none/Packed.vbp").string());
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(fs::exists(root / "none"));
  EXPECT_EQ(run.err.rfind("create ", 0), 0u) << run.err;
}

TEST_F(PackCommand, WrongArgumentsAreAUsageError) {
  const Outcome run = Pack((root / "src/App.vbp").string(), "extra' 'argument");
  EXPECT_EQ(run.status, 2);
  EXPECT_FALSE(fs::exists(root / "out/Packed.vbp"));
}

}  // namespace
