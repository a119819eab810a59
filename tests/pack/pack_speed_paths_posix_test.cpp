// The fast paths of a pack and of the read before it: names answered from one listing of each folder,
// copies to new names made unnamed and linked in, a form read once for its kind and its name. Every
// pack case runs with unnamed files and again with named temporary files, and must end the same.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "pack/mdl_file_pack.h"
#include "platform/errors.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/pack_files_posix.h"
#include "project/mdl_file.h"
#include "tests/fakes/memory_text_files.h"
#include "tests/fakes/recording_ui.h"
#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

// Lets a test act just before a copy, as another program writing the folder would.
class IntrudedFiles : public platform::PackFiles {
 public:
  IntrudedFiles(platform::PackFiles& files, std::function<void(const std::string& to)> before)
      : files_(files), before_(std::move(before)) {}
  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override { return files_.OpenInput(path); }
  std::unique_ptr<platform::OutputFile> CreateOutput(const std::string& path) override {
    return files_.CreateOutput(path);
  }
  platform::FileIdentity CopyReplacing(const std::string& from, const std::string& to) override {
    before_(to);
    return files_.CopyReplacing(from, to);
  }
  bool Exists(const std::string& path) override { return files_.Exists(path); }
  void ReplaceWhole(const std::string& path, std::string_view bytes) override { files_.ReplaceWhole(path, bytes); }

 private:
  platform::PackFiles& files_;
  std::function<void(const std::string&)> before_;
};

class PackSpeedPaths;

struct PackCase {
  const char* name;
  std::function<void(PackSpeedPaths&)> arrange;
  std::vector<std::pair<std::string, std::string>> failures;  // file under the root, reason
  std::map<std::string, std::string> out;                     // every name in out/ and its bytes
};

void PrintTo(const PackCase& c, std::ostream* os) { *os << c.name; }

class PackSpeedPaths : public ::testing::TestWithParam<PackCase> {
 public:
  void Arrange() {
    scratch = std::make_unique<fakes::Scratch>();
    root = scratch->Path();
    scratch->Make("src/lib");
    scratch->Make("out");
    Write("src/Demo.vbp", "Type=Exe\r\nForm=Main.frm\r\nClass=Item; Item.cls\r\n");
    Write("src/Main.frm", "VERSION 5.00\r\nBegin VB.Form Main\r\n");
    Write("src/Main.frx", std::string("\0\1frx", 5));
    Write("src/Item.cls", "item");
    model = {};
    model.filePath = Win("src\\Demo.vbp");
    model.components = {{mdlFile::kindForm, "Main", "Main.frm"}, {mdlFile::kindClass, "Item", "Item.cls"}};
    model.count = 2;
    intrude = [](const std::string&) {};
    fileSizeLimit = 0;
  }
  void Write(const std::string& relative, const std::string& bytes) const { scratch->Write(relative, bytes); }
  std::string Win(const std::string& relative) const { return scratch->Win(relative); }

  bool Pack(bool unnamed, std::vector<std::pair<std::string, std::string>>& failures) {
    posix::PosixPackFiles disk(*codePage);
    if (!unnamed) disk.UseNamedTemporaryFiles();
    IntrudedFiles files(disk, intrude);
    fakes::RecordingPointer pointer;
    fakes::RecordingMessages messages;
    const std::string prefix = Win("") + "\\";
    const mdlFile::PackContext context{files, pointer, messages, [&](const mdlFile::PackFailure& f) {
                                         failures.emplace_back(f.file.substr(prefix.size()), f.reason);
                                       }};
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    if (fileSizeLimit > 0) {
      rlimit small = old;
      small.rlim_cur = fileSizeLimit;
      ::setrlimit(RLIMIT_FSIZE, &small);
    }
    const bool saved = mdlFile::PackProject(model, Win("out\\Demo.vbp"), context);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, previous);
    return saved;
  }

  // Writes a file under the target folder when the copy onto the given name is about to start.
  void IntrudeBefore(const std::string& name, const std::string& bytes, fs::perms perms) {
    intrude = [this, name, bytes, perms](const std::string& to) {
      if (!to.ends_with("\\" + name)) return;
      Write("out/" + name, bytes);
      fs::permissions(root / "out" / name, perms);
    };
  }

  std::unique_ptr<fakes::Scratch> scratch;
  fs::path root;
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  mdlFile::ProjectModel model;
  std::function<void(const std::string&)> intrude;
  rlim_t fileSizeLimit = 0;
};

const std::string kVbp = "Form=Main.frm\r\nClass=Item; Item.cls\r\nType=Exe\r\n";
const std::string kFrx("\0\1frx", 5);
const std::string kForm = "VERSION 5.00\r\nBegin VB.Form Main\r\n";

const PackCase kPackCases[] = {
    {"NewNames", [](PackSpeedPaths&) {}, {},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Main.frx", kFrx}, {"Item.cls", "item"}}},
    {"NameTakenInAnotherCaseIsReplaced", [](PackSpeedPaths& t) { t.Write("out/ITEM.CLS", "old"); }, {},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Main.frx", kFrx}, {"ITEM.CLS", "item"}}},
    {"CopyCutShortLeavesNothingUnderTheName",
     [](PackSpeedPaths& t) {
       t.Write("src/Item.cls", std::string(256 * 1024, 'x'));
       t.fileSizeLimit = 64 * 1024;
     },
     {{"out\\Item.cls", posix::SystemReason(EFBIG)}},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Main.frx", kFrx}}},
    {"FileAppearingAfterTheFolderWasReadIsReplaced",
     [](PackSpeedPaths& t) { t.IntrudeBefore("Item.cls", "intruder", fs::perms::owner_read | fs::perms::owner_write); },
     {},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Main.frx", kFrx}, {"Item.cls", "item"}}},
    {"ReadOnlyFileAppearingAfterTheFolderWasReadIsKept",
     [](PackSpeedPaths& t) { t.IntrudeBefore("Item.cls", "intruder", fs::perms::owner_read); },
     {{"out\\Item.cls", posix::SystemReason(EACCES)}},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Main.frx", kFrx}, {"Item.cls", "intruder"}}},
    {"CompanionInAnotherCase",
     [](PackSpeedPaths& t) { fs::rename(t.root / "src/Main.frx", t.root / "src/MAIN.Frx"); }, {},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Main.frx", kFrx}, {"Item.cls", "item"}}},
    {"CompanionThatIsALinkToNothingIsNone",
     [](PackSpeedPaths& t) {
       fs::remove(t.root / "src/Main.frx");
       fs::create_symlink(t.root / "nowhere", t.root / "src/Main.frx");
     },
     {},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Item.cls", "item"}}},
    {"CompanionThatIsALinkToAFileIsCopied",
     [](PackSpeedPaths& t) {
       fs::rename(t.root / "src/Main.frx", t.root / "src/lib/Real.frx");
       fs::create_symlink(t.root / "src/lib/Real.frx", t.root / "src/Main.frx");
     },
     {},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Main.frx", kFrx}, {"Item.cls", "item"}}},
    {"CompanionThatIsAFolderFails",
     [](PackSpeedPaths& t) {
       fs::remove(t.root / "src/Main.frx");
       fs::create_directory(t.root / "src/Main.frx");
     },
     {{"src\\Main.frx", "Not a regular file"}},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Item.cls", "item"}}},
    {"TwoSourcesUnderOneNameFailAndTheLaterWins",
     [](PackSpeedPaths& t) {
       t.Write("src/lib/Item.cls", "other");
       t.model.components.push_back({mdlFile::kindClass, "Other", "lib\\Item.cls"});
       t.model.count = 3;
     },
     {{"out\\Item.cls", "Another file was packed under the same name; this copy replaced it."}},
     {{"Demo.vbp", "Form=Main.frm\r\nClass=Item; Item.cls\r\nClass=Other; Item.cls\r\nType=Exe\r\n"}, {"Main.frm", kForm}, {"Main.frx", kFrx}, {"Item.cls", "other"}}},
    {"MissingComponentFails",
     [](PackSpeedPaths& t) { fs::remove(t.root / "src/Item.cls"); },
     {{"src\\Item.cls", "The system cannot find the file specified."}},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Main.frx", kFrx}}},
    {"LinkToNothingUnderTheNameIsReplacedNotWrittenThrough",
     [](PackSpeedPaths& t) { fs::create_symlink(t.root / "outside", t.root / "out/Item.cls"); }, {},
     {{"Demo.vbp", kVbp}, {"Main.frm", kForm}, {"Main.frx", kFrx}, {"Item.cls", "item"}}},
};

TEST_P(PackSpeedPaths, EndsAlikeWithUnnamedAndNamedTemporaryFiles) {
  const PackCase& c = GetParam();
  for (const bool unnamed : {true, false}) {
    SCOPED_TRACE(unnamed ? "unnamed files" : "named temporary files");
    Arrange();
    c.arrange(*this);
    const auto source = scratch->Snapshot("src");
    std::vector<std::pair<std::string, std::string>> failures;
    EXPECT_EQ(Pack(unnamed, failures), c.failures.empty());
    EXPECT_EQ(failures, c.failures);
    // Names as well as bytes: a temporary file left behind would show here.
    std::vector<std::string> names;
    for (const auto& [name, bytes] : c.out) names.push_back(name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(scratch->NamesIn("out"), names);
    EXPECT_EQ(scratch->Snapshot("out"), c.out);
    EXPECT_FALSE(fs::exists(root / "outside"));
    EXPECT_EQ(scratch->Snapshot("src"), source);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PackSpeedPaths, ::testing::ValuesIn(kPackCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The destination folder is listed once a pack; a second pack into it sees what the first one wrote.
TEST(PackSpeedPathsAgain, SecondPackSeesTheFirstPacksFiles) {
  const fakes::Scratch t;
  const auto codePage = posix::MakeCodePage(1252);
  t.Make("src");
  t.Make("out");
  t.Write("src/P.vbp", "Class=A; A.cls\r\n");
  t.Write("src/A.cls", "one");
  mdlFile::ProjectModel model;
  model.filePath = t.Win("src\\P.vbp");
  model.components = {{mdlFile::kindClass, "A", "A.cls"}};
  model.count = 1;
  posix::PosixPackFiles files(*codePage);
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages;
  std::vector<std::string> failed;
  const mdlFile::PackContext context{files, pointer, messages,
                                     [&](const mdlFile::PackFailure& f) { failed.push_back(f.reason); }};
  EXPECT_TRUE(mdlFile::PackProject(model, t.Win("out\\P.vbp"), context));
  t.Write("src/A.cls", "two");
  fs::permissions(t / "out/A.cls", fs::perms::owner_read);
  // The same object again: the read-only copy of the first pack must be found and refused.
  EXPECT_FALSE(mdlFile::PackProject(model, t.Win("out\\P.vbp"), context));
  EXPECT_EQ(failed, std::vector<std::string>{posix::SystemReason(EACCES)});
  EXPECT_EQ(t.Read("out/A.cls"), "one");
}

// A form's kind and name from one opening, whatever the kind scan consumed before the name scan.
struct FormCase {
  const char* name;
  std::string content;
  std::size_t chunk;
  int32_t kind;
  std::string componentName;
  std::size_t opens;
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

std::string Filler(std::size_t bytes) {
  std::string text;
  while (text.size() < bytes) text += "  Caption = \"some text that is no name line at all\"\r\n";
  return text;
}

const FormCase kFormCases[] = {
    {"Form", "VERSION 5.00\r\nBegin VB.Form Main\r\nEnd\r\nAttribute VB_Name = \"Main\"\r\n", 1 << 20,
     mdlFile::kindForm, "Main", 1},
    {"MdiFormInSmallReads", "VERSION 5.00\r\nBegin VB.MDIForm Top\r\nEnd\r\nAttribute VB_Name = \"Top\"\r\n", 3,
     mdlFile::kindMdiForm, "Top", 1},
    {"NameLineBeforeTheKindAndTheLastOneWins",
     "Attribute VB_Name = \"First\"\r\nBegin VB.Form F\r\n" + Filler(300 * 1024) + "Attribute VB_Name = \"Last\"\r\n",
     1 << 20, mdlFile::kindForm, "Last", 1},
    {"NameLineSplitWhereTheKindScanStopped",
     "Begin VB.Form F\r\n" + Filler(4000) + "Attribute VB_Name = \"Across\"\r\n", 4096, mdlFile::kindForm, "Across",
     1},
    {"KindPastTheFirstMegabyteReadsTheFileAgain",
     "Attribute VB_Name = \"Deep\"\r\n" + Filler(1500 * 1024) + "Begin VB.Form Deep\r\n", 1 << 16, mdlFile::kindForm,
     "Deep", 2},
    {"NoKindAtAll", "Attribute VB_Name = \"Plain\"\r\n" + Filler(10 * 1024), 1 << 20, mdlFile::kindUndetermined,
     "Plain", 1},
    {"EmptyFile", "", 1 << 20, mdlFile::kindUndetermined, "", 1},
};

class FormFactsRead : public ::testing::TestWithParam<FormCase> {};

TEST_P(FormFactsRead, KindAndNameAsTwoReadsWouldFindThem) {
  const FormCase& c = GetParam();
  fakes::MemoryTextFiles files;
  files.SetChunk(c.chunk);
  files.Put("C:\\P\\F.frm", c.content);
  mdlFile::ProjectModel model;
  model.filePath = "C:\\P\\P.vbp";
  mdlFile::AddComponent(model, files, "F.frm", mdlFile::kindForm);
  ASSERT_EQ(model.components.size(), 1u);
  EXPECT_EQ(model.components[0].kind, c.kind);
  EXPECT_EQ(model.components[0].name, c.componentName);
  EXPECT_EQ(model.components[0].path, "F.frm");
  EXPECT_EQ(files.Opened().size(), c.opens);
  EXPECT_EQ(files.OpenCount(), 0);
  // The separate reads agree with the one that serves both.
  EXPECT_EQ(mdlFile::ReadFormKind(model, files, "F.frm"), c.kind);
  EXPECT_EQ(mdlFile::ReadComponentName(model, files, "F.frm"), c.componentName);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormFactsRead, ::testing::ValuesIn(kFormCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormFactsReadFailure, ReadFailingAfterTheKeptBytesFailsTheRead) {
  for (const std::size_t failAt : {std::size_t{0}, std::size_t{100}, std::size_t{200 * 1024}}) {
    SCOPED_TRACE(failAt);
    fakes::MemoryTextFiles files;
    files.SetChunk(64 * 1024);
    files.Put("C:\\P\\F.frm", "Begin VB.Form F\r\n" + Filler(400 * 1024));
    files.FailReadAfter("C:\\P\\F.frm", failAt);
    mdlFile::ProjectModel model;
    model.filePath = "C:\\P\\P.vbp";
    EXPECT_THROW(mdlFile::AddComponent(model, files, "F.frm", mdlFile::kindForm), platform::FileError);
    EXPECT_EQ(files.OpenCount(), 0);
  }
}

}  // namespace
