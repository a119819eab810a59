// The check's rules on the fakes: the scan of line ends and companion names whatever pieces the bytes
// come in, reading past unreadable components, and when the fix must refuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/check_project.h"
#include "cli/memory_tree_view.h"
#include "project/mdl_file.h"
#include "tests/fakes/fake_folder_names.h"
#include "tests/fakes/fake_pack_files.h"
#include "tests/fakes/memory_text_files.h"
#include "tests/fakes/recording_ui.h"

namespace {

// Long enough for the scan's line counts to pass their per-lane limits; pad moves everything after the
// first line across the scan's blocks.
std::string LongText(std::size_t pad = 0) {
  std::string text(pad, ' ');
  for (int line = 1; line <= 1200; ++line) {
    if (line == 7) text += "   Picture = \"Long.frx\":0000\r\n";
    else if (line == 200) text += "    x = 2\n";
    else text += "    x = 1\r\n";
  }
  return text + "End\r";
}

struct ScanRow {
  const char* what;
  std::string text;
  int64_t crLf, lfOnly, crOnly, firstBad;
  std::vector<check::CompanionReference> references;
};

TEST(TextScan, SameCountsAndNamesWhateverThePieces) {
  const std::vector<ScanRow> rows{
      {"every kind of line end", "a\r\nb\nc\rd\r\n", 2, 1, 1, 2, {}},
      {"a CR at the very end", "a\r\nb\r", 1, 0, 1, 2, {}},
      {"names of each table's extension, once each", "P = \"a.FRX\":0\r\nQ = \"A.frx\":1\r\nR = \"x\\b.dsa\"\r\n", 3, 0, 0, 0,
       {{"a.FRX", 1}, {"x\\b.dsa", 3}}},
      {"no name across a line end or without the extension", "S = \"a\r\nb.frx\" \"c.frx d\" \"e.bas\"", 1, 0, 0, 0, {}},
      {"empty lines past the per-lane limits", [] {
         std::string lines;
         for (int k = 0; k < 10000; ++k) lines += "\r\n";
         return lines;
       }(), 10000, 0, 0, 0, {}},
      {"long text past the block size", LongText(), 1199, 1, 1, 200, {{"Long.frx", 7}}},
  };
  // Each instruction set the processor has in turn; each byte of a block judged against the one before
  // it, wherever the block starts.
  for (const check::Vectors vectors : check::AvailableVectors()) {
    const std::string set = ", instruction set " + std::to_string(static_cast<int>(vectors));
    for (std::size_t pad = 1; pad <= 64; ++pad) {
      check::TextScan scan(vectors);
      scan.Feed(LongText(pad));
      scan.Finish();
      EXPECT_EQ(scan.crLf(), 1199) << "pad " << pad << set;
      EXPECT_EQ(scan.firstBadLine(), 200) << "pad " << pad << set;
      ASSERT_EQ(scan.references().size(), 1u) << "pad " << pad << set;
      EXPECT_EQ(scan.references()[0].line, 7) << "pad " << pad << set;
    }
    for (const auto& row : rows) {
      for (std::size_t piece = 1; piece <= row.text.size() + 1; piece += (piece < 140 ? 1 : 97)) {
        check::TextScan scan(vectors);
        for (std::size_t at = 0; at < row.text.size(); at += piece) scan.Feed(std::string_view(row.text).substr(at, piece));
        scan.Finish();
        const std::string where = std::string(row.what) + ", pieces of " + std::to_string(piece) + set;
        EXPECT_EQ(scan.crLf(), row.crLf) << where;
        EXPECT_EQ(scan.lfOnly(), row.lfOnly) << where;
        EXPECT_EQ(scan.crOnly(), row.crOnly) << where;
        EXPECT_EQ(scan.firstBadLine(), row.firstBad) << where;
        ASSERT_EQ(scan.references().size(), row.references.size()) << where;
        for (std::size_t i = 0; i < row.references.size(); ++i) {
          EXPECT_EQ(scan.references()[i].name, row.references[i].name) << where;
          EXPECT_EQ(scan.references()[i].line, row.references[i].line) << where;
        }
      }
    }
  }
}

struct Reader {
  fakes::MemoryTextFiles files;
  fakes::FakeFolderNames folders;
  fakes::RecordingPointer pointer;
  fakes::RecordingMessages messages;
  cli::MemoryTreeView tree;
  fakes::RecordingCommand saveAs;

  void Put(const std::string& path, const std::string& content) {
    files.Put(path, content);
    folders.AddFile(path);
  }
  // The findings, or one "Error." finding when the read fails as the tree's does.
  std::vector<std::string> Check(const std::string& project) {
    check::ObservedFiles observed(files, project);
    if (!mdlFile::ReadProject(project, {observed, pointer, messages, tree, saveAs})) return {"Error."};
    std::vector<std::string> found;
    for (const auto& f : check::CheckProject({mdlFile::Model(), observed, files, folders})) {
      found.push_back(f.file + ":" + std::to_string(f.line) + " " + f.code + ": " + f.text);
    }
    return found;
  }
};

TEST(CheckProject, ReportsUnreadableComponentsWhereTheTreeStops) {
  Reader reader;
  reader.Put("Z:\\p\\App.vbp", "Form=Main.frm\r\nModule=Util; Util.bas\r\nClass=Item; Item.cls\r\n");
  reader.Put("Z:\\p\\Main.frm", "VERSION 5.00\r\nBegin VB.Form Main\r\nEnd\r\n");
  reader.files.FailReadAfter("Z:\\p\\Main.frm", 20);
  reader.Put("Z:\\p\\Util.bas", "Attribute VB_Name = \"Util\"\r\n");
  reader.files.FailOpen("Z:\\p\\Util.bas");
  reader.Put("Z:\\p\\Item.cls", "Attribute VB_Name = \"Item\"\r\n");
  const std::string advice = ". Correct the path in the project file or restore the file";
  EXPECT_EQ(reader.Check("Z:\\p\\App.vbp"),
            (std::vector<std::string>{"Z:\\p\\App.vbp:1 unreadable: cannot read 'Main.frm': injected read failure" + advice,
                                      "Z:\\p\\App.vbp:2 unreadable: cannot read 'Util.bas': injected open failure" + advice}));
  reader.files.FailOpen("Z:\\p\\App.vbp");
  EXPECT_EQ(reader.Check("Z:\\p\\App.vbp"), std::vector<std::string>{"Error."});
}

struct FixRow {
  const char* what;
  std::string file;
  void (*arrange)(fakes::MemoryTextFiles&, fakes::FakePackFiles&);
  const char* code;
  const char* after;  // the file's content in the pack files afterwards
};

TEST(FixLineEnds, WritesOnlyWhatItReadWholeInsideTheFolder) {
  const std::vector<FixRow> rows{
      {"a file it reads whole", "Z:\\p\\A.bas", [](auto&, auto&) {}, "line-ends-fixed", "a\r\nb\r\n"},
      {"a file outside the folder", "Z:\\q\\A.bas", [](auto&, auto&) {}, "fix-refused", "a\nb\r"},
      {"climbing out of it", "Z:\\p\\..\\q\\A.bas", [](auto&, auto&) {}, "fix-refused", "a\nb\r"},
      {"a read failing half-way", "Z:\\p\\A.bas", [](auto& in, auto&) { in.FailReadAfter("Z:\\p\\A.bas", 2); },
       "fix-refused", "a\nb\r"},
      {"a read-only file", "Z:\\p\\A.bas", [](auto&, auto& out) { out.SetReadOnly("Z:\\p\\A.bas"); }, "fix-refused",
       "a\nb\r"},
  };
  for (const auto& row : rows) {
    fakes::MemoryTextFiles in;
    fakes::FakePackFiles out;
    for (const auto* path : {"Z:\\p\\A.bas", "Z:\\q\\A.bas"}) {
      in.Put(path, "a\nb\r");
      out.Put(path, "a\nb\r");
    }
    in.Put("Z:\\p\\..\\q\\A.bas", "a\nb\r");
    row.arrange(in, out);
    mdlFile::ProjectModel model;
    model.filePath = "Z:\\p\\App.vbp";
    const auto done = check::FixLineEnds({{row.file, 1, check::Severity::Error, "line-ends", ""}}, model, in, out);
    ASSERT_EQ(done.size(), 1u) << row.what;
    EXPECT_EQ(done[0].code, row.code) << row.what;
    EXPECT_EQ(out.Content(row.file).value_or("(none)"), row.after) << row.what;
  }
}

}  // namespace
