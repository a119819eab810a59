#include <gtest/gtest.h>

#include <random>

#include "project/line_reader.h"
#include "project/mdl_trim.h"
#include "project/name_scan.h"
#include "tests/fakes/memory_text_files.h"

namespace {

// The name by the rule itself, line by line, for comparison.
std::string NameByLines(fakes::MemoryTextFiles& files, const std::string& path) {
  const auto file = files.OpenInput(path);
  mdlFile::LineReader lines(*file);
  std::string line;
  std::string name;
  while (lines.Next(line)) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    if (mdlTrim::LowerAscii(mdlTrim::TrimBlanks(std::string_view(line).substr(0, eq))) != "attribute vb_name") continue;
    name = mdlTrim::RemoveAll(mdlTrim::TrimBlanks(std::string_view(line).substr(eq + 1)), '"');
  }
  return name;
}

std::string Scan(fakes::MemoryTextFiles& files, const std::string& path) {
  const auto file = files.OpenInput(path);
  return mdlFile::ScanComponentName(*file);
}

TEST(NameScan, AgreesWithTheLineRuleOnTrickyLinesWhateverTheReadSizes) {
  const std::vector<std::string> pieces{
      "Attribute VB_Name = \"A1\"", "  attribute vb_name=B2  ", "ATTRIBUTE VB_NAME   =   \"C\"3\"",
      "Attribute  VB_Name = \"no\"", "XAttribute VB_Name = \"no\"", "Attribute VB_Namex = \"no\"",
      "Attribute VB_Name", "Attribute VB_Name = ", "vb_name = x", "Sub a_Change()", "x = vb_n_n",
      "  Attribute VB_Name = a = b", "Attribute VB_Name\t= \"tab\"", "_", "vb_", "Attribute VB_Name =\"e\"", ""};
  const std::vector<std::string> ends{"\r\n", "\r", "\n"};
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string content;
    const int lines = 1 + static_cast<int>(random() % 40);
    for (int i = 0; i < lines; ++i) {
      if (random() % 9 == 0) content += std::string(random() % 70000, 'v');  // long lines cross blocks
      content += pieces[random() % pieces.size()];
      if (i + 1 < lines || random() % 2) content += ends[random() % ends.size()];
    }
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{5}, std::size_t{4096}, std::size_t{1} << 20}) {
      if (chunk < 16 && content.size() > 20000) continue;  // byte-sized reads only on short files
      fakes::MemoryTextFiles files;
      files.SetChunk(chunk);
      files.Put("F", content);
      ASSERT_EQ(Scan(files, "F"), NameByLines(files, "F")) << "round " << round << " chunk " << chunk;
    }
  }
}

TEST(NameScan, FindsANameLineStraddlingABlockBoundary) {
  for (std::size_t offset : {262144 - 30, 262144 - 12, 262144 - 1, 262144, 262144 + 1}) {
    std::string content(offset, 'x');
    content += "\r\nAttribute VB_Name = \"Edge\"\r\nrest\r\n";
    fakes::MemoryTextFiles files;
    files.Put("F", content);
    EXPECT_EQ(Scan(files, "F"), "Edge") << offset;
  }
}

}  // namespace
