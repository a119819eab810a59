// Packing on the real file system when steps fail: a failure injected into one step, or a real fault of
// the disk (read-only files and folders, FIFOs, a file size limit, links, files that vanish). After each,
// exactly one message tells the outcome, the failed steps are named, the sources are as they were, and the
// target folder holds whole files only.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <functional>

#include "pack/mdl_file_pack.h"
#include "platform/errors.h"
#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/pack_files_posix.h"
#include "tests/fakes/recording_ui.h"
#include "tests/fakes/scratch_folder_posix.h"

namespace fs = std::filesystem;

namespace {

// Passes every step to the real files but fails one: a step ("open", "read", "create", "write", "close",
// "copy") on the path ending in `path` (for a copy, the source's); a read after `after` bytes, or the
// write numbered `after`.
struct Injection {
  std::string step;
  std::string path;
  std::size_t after = 0;
};

class Injecting : public platform::PackFiles {
 public:
  Injecting(platform::PackFiles& real, Injection injection) : real_(real), injection_(std::move(injection)) {}
  std::unique_ptr<platform::InputFile> OpenInput(const std::string& path) override {
    Check("open", path);
    return std::make_unique<Input>(*this, real_.OpenInput(path), path);
  }
  std::unique_ptr<platform::OutputFile> CreateOutput(const std::string& path) override {
    Check("create", path);
    return std::make_unique<Output>(*this, real_.CreateOutput(path), path);
  }
  platform::FileIdentity CopyReplacing(const std::string& from, const std::string& to) override {
    Check("copy", from);
    return real_.CopyReplacing(from, to);
  }
  bool Exists(const std::string& path) override { return real_.Exists(path); }
  void ReplaceWhole(const std::string& path, std::string_view bytes) override {
    Check("replace", path);
    real_.ReplaceWhole(path, bytes);
  }

 private:
  struct Input : platform::InputFile {
    Input(Injecting& o, std::unique_ptr<platform::InputFile> f, std::string p)
        : owner(o), file(std::move(f)), path(std::move(p)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
      if (owner.Hits("read", path) && read >= owner.injection_.after) throw platform::FileError(path, "injected");
      const std::size_t n = file->Read(buffer, owner.Hits("read", path) ? 1 : size);
      read += n;
      return n;
    }
    Injecting& owner;
    std::unique_ptr<platform::InputFile> file;
    std::string path;
    std::size_t read = 0;
  };
  struct Output : platform::OutputFile {
    Output(Injecting& o, std::unique_ptr<platform::OutputFile> f, std::string p)
        : owner(o), file(std::move(f)), path(std::move(p)) {}
    void Write(std::string_view bytes) override {
      if (owner.injection_.step == "write" && owner.writes_++ == owner.injection_.after)
        throw platform::FileError(path, "injected");
      file->Write(bytes);
    }
    void Close() override {
      file->Close();
      owner.Check("close", path);
    }
    Injecting& owner;
    std::unique_ptr<platform::OutputFile> file;
    std::string path;
  };
  bool Hits(const std::string& step, const std::string& path) const {
    return injection_.step == step && path.size() >= injection_.path.size() &&
           path.compare(path.size() - injection_.path.size(), std::string::npos, injection_.path) == 0;
  }
  void Check(const std::string& step, const std::string& path) const {
    if (Hits(step, path)) throw platform::FileError(path, "injected");
  }
  platform::PackFiles& real_;
  Injection injection_;
  std::size_t writes_ = 0;
};

const std::string kLines = "Form=Main.frm\r\nModule=Tools; Tools.bas\r\nClass=Item; Item.cls\r\n";
const std::string kCarried = "Type=Exe\r\nMajorVer=1\r\n";
const std::vector<std::string> kAll{"Demo.vbp", "Item.cls", "Main.frm", "Main.frx", "Tools.bas"};

struct Fault {
  std::string name;
  Injection injection;
  // Makes the real fault; false skips the case where this machine cannot make it.
  std::function<bool(fakes::Scratch&, mdlFile::ProjectModel&)> arrange;
  std::string target;                  // relative to the scratch folder
  std::vector<std::string> attempted;  // the failed steps, the scratch folder as <root>
  std::vector<std::string> names;      // what the target folder holds afterwards
  std::map<std::string, std::string> contents;  // some of the target folder's files
};

bool Nothing(fakes::Scratch&, mdlFile::ProjectModel&) { return true; }

// Runs a pack with the file size limited, as a full disk fails a write.
bool Limited(rlim_t bytes, const std::function<bool()>& pack) {
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = bytes;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const bool saved = pack();
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, previous);
  return saved;
}

std::vector<Fault> Faults() {
  const std::string src = "<root>\\src\\", out = "<root>\\out\\";
  return {
      {"nothing fails", {}, Nothing, "out/Demo.vbp", {}, kAll, {{"Demo.vbp", kLines + kCarried}}},
      {"a component copy", {"copy", "Main.frm"}, Nothing, "out/Demo.vbp",
       {"copy " + src + "Main.frm to " + out + "Main.frm"}, {"Demo.vbp", "Item.cls", "Main.frx", "Tools.bas"},
       {{"Demo.vbp", kLines + kCarried}}},
      {"a companion copy", {"copy", "Main.frx"}, Nothing, "out/Demo.vbp",
       {"copy " + src + "Main.frx to " + out + "Main.frx"}, {"Demo.vbp", "Item.cls", "Main.frm", "Tools.bas"}, {}},
      {"creating the project file", {"create", "Demo.vbp"}, Nothing, "out/Demo.vbp",
       {"create " + out + "Demo.vbp"}, {"Item.cls", "Main.frm", "Main.frx", "Tools.bas"}, {}},
      {"opening the source again", {"open", "Demo.vbp"}, Nothing, "out/Demo.vbp",
       {"open " + src + "Demo.vbp for reading"}, kAll, {{"Demo.vbp", kLines}}},
      {"reading the source part way", {"read", "Demo.vbp", 10}, Nothing, "out/Demo.vbp",
       {"read a line of " + src + "Demo.vbp"}, kAll, {{"Demo.vbp", kLines + "Type=Exe\r\n"}}},
      {"writing one line", {"write", "", 1}, Nothing, "out/Demo.vbp", {"write a line to " + out + "Demo.vbp"}, kAll,
       {{"Demo.vbp", "Form=Main.frm\r\nClass=Item; Item.cls\r\n" + kCarried}}},
      {"closing the project file", {"close", "Demo.vbp"}, Nothing, "out/Demo.vbp", {"close " + out + "Demo.vbp"},
       kAll, {}},
      {"read-only file in the target folder", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         s.Write("out/Item.cls", "mine");
         fs::permissions(s / "out/Item.cls", fs::perms::owner_read);
         return true;
       },
       "out/Demo.vbp", {"copy " + src + "Item.cls to " + out + "Item.cls"}, kAll, {{"Item.cls", "mine"}}},
      {"read-only target project file", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         s.Write("out/Demo.vbp", "old project");
         fs::permissions(s / "out/Demo.vbp", fs::perms::owner_read);
         return true;
       },
       "out/Demo.vbp", {"create " + out + "Demo.vbp"}, kAll, {{"Demo.vbp", "old project"}}},
      {"a target that is a hard link of the source project file", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         fs::create_hard_link(s / "src/Demo.vbp", s / "out/Demo.vbp");
         return true;
       },
       "out/Demo.vbp", {"create " + out + "Demo.vbp"}, kAll, {}},
      {"read-only target folder", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         fs::permissions(s / "out", fs::perms::owner_read | fs::perms::owner_exec);
         return true;
       },
       "out/Demo.vbp",
       {"create " + out + "Demo.vbp", "copy " + src + "Main.frm to " + out + "Main.frm",
        "copy " + src + "Main.frx to " + out + "Main.frx", "copy " + src + "lib\\Tools.bas to " + out + "Tools.bas",
        "copy " + src + "Item.cls to " + out + "Item.cls"},
       {}, {}},
      {"FIFOs as a module, a companion and a destination", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel& model) {
         fs::remove(s / "src/Main.frx");
         ::mkfifo((s / "src/Main.frx").c_str(), 0644);
         ::mkfifo((s / "src/Pipe.bas").c_str(), 0644);
         ::mkfifo((s / "out/Item.cls").c_str(), 0644);
         model.components.push_back({mdlFile::kindModule, "P", "Pipe.bas"});
         return true;
       },
       "out/Demo.vbp",
       {"copy " + src + "Main.frx to " + out + "Main.frx", "copy " + src + "Item.cls to " + out + "Item.cls",
        "copy " + src + "Pipe.bas to " + out + "Pipe.bas"},
       {"Demo.vbp", "Item.cls", "Main.frm", "Tools.bas"}, {}},
      {"a folder as the source project file", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         fs::remove(s / "src/Demo.vbp");
         fs::create_directory(s / "src/Demo.vbp");
         return true;
       },
       "out/Demo.vbp", {"open " + src + "Demo.vbp for reading"}, kAll, {{"Demo.vbp", kLines}}},
      {"links in the target folder are replaced, not written through", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         fs::create_symlink(s / "src/Item.cls", s / "out/Main.frm");
         fs::create_hard_link(s / "src/lib/Tools.bas", s / "out/Item.cls");
         fs::create_symlink(s / "src/Demo.vbp", s / "out/Demo.vbp");
         fs::create_symlink(s / "nowhere", s / "out/Main.frx");
         return true;
       },
       "out/Demo.vbp", {}, kAll, {{"Demo.vbp", kLines + kCarried}, {"Main.frm", "form"}, {"Item.cls", "item"}}},
      {"a target folder reached through a link", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         fs::create_directory_symlink(s / "out", s / "linked");
         return true;
       },
       "linked/Demo.vbp", {}, kAll, {{"Main.frx", std::string("\0\1frx", 5)}}},
      {"the source folder reached through a link", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         fs::create_directory_symlink(s / "src", s / "linked");
         return true;
       },
       "linked/Packed.vbp",
       {"copy " + src + "Main.frm to <root>\\linked\\Main.frm", "copy " + src + "Main.frx to <root>\\linked\\Main.frx",
        "copy " + src + "Item.cls to <root>\\linked\\Item.cls"},
       {}, {}},
      {"a copy larger than the disk allows", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         s.Write("src/Item.cls", std::string(512 * 1024, 'x'));
         s.Write("out/Item.cls", "first pack");
         return true;
       },
       "out/Demo.vbp", {"copy " + src + "Item.cls to " + out + "Item.cls"}, kAll, {{"Item.cls", "first pack"}}},
      {"a target folder on another file system that is full", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         s.Write("src/Item.cls", std::string(512 * 1024, 'x'));
         if (::mount("tarvex-test", (s / "out").c_str(), "tmpfs", 0, "size=256k,mode=0777") != 0) return false;
         s.Write("out/Item.cls", "first pack");
         return true;
       },
       "out/Demo.vbp", {"copy " + src + "Item.cls to " + out + "Item.cls"}, kAll, {{"Item.cls", "first pack"}}},
      {"a project file larger than the disk allows", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         std::string many = "Type=Exe\r\n";
         for (int i = 0; i < 4000; ++i) many += "Title=\"a line that is carried over\"\r\n";
         s.Write("src/Demo.vbp", many);
         return true;
       },
       "out/Demo.vbp",
       {"write a line to " + out + "Demo.vbp", "write a line to " + out + "Demo.vbp", "close " + out + "Demo.vbp"},
       kAll, {}},
      {"a large file is copied whole", {},
       [](fakes::Scratch& s, mdlFile::ProjectModel&) {
         s.Write("src/Item.cls", std::string(3 * 1024 * 1024 + 17, 'y'));
         return true;
       },
       "out/Demo.vbp", {}, kAll, {{"Item.cls", std::string(3 * 1024 * 1024 + 17, 'y')}}},
  };
}

void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }

class PackFault : public ::testing::TestWithParam<Fault> {};

TEST_P(PackFault, IsNamedAndLosesNothing) {
  const Fault& fault = GetParam();
  fakes::Scratch scratch;
  scratch.Make("out");
  // A file system mounted on the target folder by a case goes before the folder does.
  struct Unmount {
    fs::path folder;
    ~Unmount() { ::umount2(folder.c_str(), MNT_DETACH); }
  } unmount{scratch / "out"};
  scratch.Write("src/Demo.vbp", "Type=Exe\r\nForm=Main.frm\r\nModule=Tools; lib\\Tools.bas\r\nClass=Item; Item.cls\r\n"
                                "MajorVer=1\r\n");
  scratch.Write("src/Main.frm", "form");
  scratch.Write("src/Main.frx", std::string("\0\1frx", 5));
  scratch.Write("src/lib/Tools.bas", "tools");
  scratch.Write("src/Item.cls", "item");
  mdlFile::ProjectModel model;
  model.filePath = scratch.Win("src\\Demo.vbp");
  model.components = {{mdlFile::kindForm, "Main", "Main.frm"},
                      {mdlFile::kindModule, "Tools", "lib\\Tools.bas"},
                      {mdlFile::kindClass, "Item", "Item.cls"}};
  if (!fault.arrange(scratch, model)) GTEST_SKIP() << "this machine cannot make the fault";
  model.count = static_cast<int32_t>(model.components.size());
  const auto sources = scratch.Snapshot("src");

  ::alarm(60);  // a step that blocked (a FIFO opened) would end the program here instead of hanging it
  const auto codePage = posix::MakeCodePage(1252);
  posix::PosixPackFiles real(*codePage);
  Injecting files(real, fault.injection);
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages{&pointer};
  std::vector<std::string> attempted;
  const mdlFile::PackContext context{files, pointer, messages, [&](const mdlFile::PackFailure& failure) {
                                       std::string text = failure.attempted;
                                       const std::string root = scratch.Win();
                                       for (auto at = text.find(root); at != std::string::npos; at = text.find(root))
                                         text.replace(at, root.size(), "<root>");
                                       attempted.push_back(text);
                                     }};
  std::string target = fault.target;
  std::replace(target.begin(), target.end(), '/', '\\');
  const auto pack = [&] { return mdlFile::PackProject(model, scratch.Win(target), context); };
  const bool saved = fault.name.find("larger") != std::string::npos ? Limited(64 * 1024, pack) : pack();
  ::alarm(0);
  fs::permissions(scratch / "out", fs::perms::owner_all);

  EXPECT_EQ(saved, fault.attempted.empty());
  EXPECT_EQ(attempted, fault.attempted);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, saved ? "Project saved." : "Error during save.");
  EXPECT_EQ(messages.shown[0].pointerWhenShown, platform::vbDefault);
  EXPECT_GE(pointer.busyUnderHourglass, model.count) << "the window is let repaint after every component";
  if (fault.target.rfind("out/", 0) == 0 || fault.target.rfind("linked/Demo", 0) == 0) {
    EXPECT_EQ(scratch.NamesIn("out"), fault.names) << "only whole files, no temporary ones";
    for (const auto& [name, bytes] : fault.contents) EXPECT_EQ(scratch.Read("out/" + name), bytes) << name;
    EXPECT_EQ(scratch.Snapshot("src"), sources);
  } else {
    auto after = scratch.Snapshot("src");
    after.erase("Packed.vbp");
    EXPECT_EQ(after.erase("Tools.bas"), 1u) << "the one file from another folder is copied in";
    EXPECT_EQ(after, sources);
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, PackFault, ::testing::ValuesIn(Faults()), [](const auto& info) {
  std::string name = info.param.name;
  for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
});

}  // namespace
