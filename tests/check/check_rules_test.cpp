// The check's rules on the fakes: the scan of line ends and companion names whatever pieces the bytes
// come in, reading past unreadable components, and when the fix must refuse.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "check/check_project.h"
#include "cli/memory_tree_view.h"
#include "project/mdl_file.h"
#include "tests/fakes/fake_folder_names.h"
#include "tests/fakes/fake_pack_files.h"
#include "tests/fakes/memory_text_files.h"
#include "tests/fakes/recording_ui.h"

namespace {

std::string Times(int count, const std::string& text) {
  std::string out;
  while (count-- > 0) out += text;
  return out;
}

// What the scan found: the counts of CR LF, LF and CR line ends, the first bad line, then each companion
// name with the line first naming it.
std::string Scanned(std::string_view text, std::size_t piece, check::Vectors vectors) {
  check::TextScan scan(vectors);
  for (std::size_t at = 0; at < text.size(); at += piece) scan.Feed(text.substr(at, piece));
  scan.Finish();
  std::string found = std::to_string(scan.crLf()) + " " + std::to_string(scan.lfOnly()) + " " +
                      std::to_string(scan.crOnly()) + " " + std::to_string(scan.firstBadLine());
  for (const auto& reference : scan.references())
    found += " " + reference.name + "@" + std::to_string(reference.line);
  return found;
}

TEST(TextScan, SameCountsAndNamesWhateverThePieces) {
  std::vector<std::tuple<std::string, std::string, std::string>> rows{
      {"every kind of line end", "a\r\nb\nc\rd\r\n", "2 1 1 2"},
      {"a CR at the very end", "a\r\nb\r", "1 0 1 2"},
      {"names of each table's extension, once each",
       "P = \"a.FRX\":0\r\nQ = \"A.frx\":1\r\nR = \"x\\b.dsa\"\r\n", "3 0 0 0 a.FRX@1 x\\b.dsa@3"},
      {"no name across a line end or without the extension", "S = \"a\r\nb.frx\" \"c.frx d\" \"e.bas\"",
       "1 0 0 0"},
      {"empty lines past the per-lane limits", Times(10000, "\r\n"), "10000 0 0 0"},
  };
  // Long enough for the scan's line counts to pass their per-lane limits; the pad moves everything after
  // the first line across the scan's blocks, so that each byte of a block is judged against the one
  // before it wherever the block starts.
  const std::string line = "    x = 1\r\n";
  for (std::size_t pad = 0; pad <= 64; ++pad) {
    rows.emplace_back("long text moved by " + std::to_string(pad),
                      std::string(pad, ' ') + Times(6, line) + "   Picture = \"Long.frx\":0000\r\n" +
                          Times(192, line) + "    x = 2\n" + Times(1000, line) + "End\r",
                      "1199 1 1 200 Long.frx@7");
  }
  // Pieces of every small size, then larger ones up to the whole text, with each instruction set the
  // processor has.
  for (const check::Vectors vectors : check::AvailableVectors()) {
    for (const auto& [what, text, expected] : rows) {
      for (std::size_t piece = 1; piece <= text.size() + 97; piece += (piece < 140 ? 1 : 97))
        EXPECT_EQ(Scanned(text, piece, vectors), expected)
            << what << ", pieces of " << piece << ", instruction set " << static_cast<int>(vectors);
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
    for (const auto& f : check::CheckProject({mdlFile::Model(), observed, files, folders}))
      found.push_back(f.file + ":" + std::to_string(f.line) + " " + f.code + ": " + f.text);
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
            (std::vector<std::string>{
                "Z:\\p\\App.vbp:1 unreadable: cannot read 'Main.frm': injected read failure" + advice,
                "Z:\\p\\App.vbp:2 unreadable: cannot read 'Util.bas': injected open failure" + advice}));
  reader.files.FailOpen("Z:\\p\\App.vbp");
  EXPECT_EQ(reader.Check("Z:\\p\\App.vbp"), std::vector<std::string>{"Error."});
}

// A read-only file is refused as the case tests/data/check/fix-read-only shows on the disk.
TEST(FixLineEnds, WritesOnlyWhatItReadWholeInsideTheFolder) {
  // The file named, the bytes of it read before a read fails, and what the fix does: its code, then the
  // file's content in the pack files afterwards.
  const std::vector<std::tuple<std::string, std::string, std::size_t, std::string>> rows{
      {"a file it reads whole", "Z:\\p\\A.bas", 99, "line-ends-fixed a\r\nb\r\n"},
      {"a file outside the folder", "Z:\\q\\A.bas", 99, "fix-refused a\nb\r"},
      {"climbing out of it", "Z:\\p\\..\\q\\A.bas", 99, "fix-refused a\nb\r"},
      {"a read failing half-way", "Z:\\p\\A.bas", 2, "fix-refused a\nb\r"},
  };
  for (const auto& [what, file, readable, expected] : rows) {
    fakes::MemoryTextFiles in;
    fakes::FakePackFiles out;
    for (const auto* path : {"Z:\\p\\A.bas", "Z:\\q\\A.bas"}) {
      in.Put(path, "a\nb\r");
      out.Put(path, "a\nb\r");
    }
    in.FailReadAfter(file, readable);
    mdlFile::ProjectModel model;
    model.filePath = "Z:\\p\\App.vbp";
    const auto done =
        check::FixLineEnds({{file, 1, check::Severity::Error, "line-ends", ""}}, model, in, out);
    ASSERT_EQ(done.size(), 1u) << what;
    EXPECT_EQ(done[0].code + " " + out.Content(file).value_or("(none)"), expected) << what;
  }
}

}  // namespace
