// The resolution's order of statuses, case by case from tests/data/deps/resolve.txt, on a fake registry
// and fake files; and the reader's fields on the forms real project files and headers use.
#include <gtest/gtest.h>

#include <map>

#include "deps/dependency.h"
#include "deps/resolve.h"
#include "project/mdl_trim.h"
#include "tests/fakes/memory_text_files.h"
#include "tests/fakes/table_file.h"

namespace {

const std::string kA = "{AAAAAAAA-0000-0000-C000-000000000046}";
const std::string kB = "{BBBBBBBB-0000-0000-C000-000000000046}";

std::string Expanded(std::string text) {
  for (const auto& [short_, full] : {std::pair{"{A}", kA}, std::pair{"{B}", kB}}) {
    for (auto at = text.find(short_); at != std::string::npos; at = text.find(short_))
      text.replace(at, 3, full);
  }
  return text;
}

std::vector<std::string> Items(const std::string& text) {
  std::vector<std::string> items;
  std::size_t at = 0;
  for (std::size_t cut; !text.empty(); at = cut + 1) {
    cut = text.find(';', at);
    items.push_back(text.substr(at, cut - at));
    if (cut == std::string::npos) break;
  }
  return items;
}

uint16_t Hex(const std::string& text) {
  return static_cast<uint16_t>(std::stoul(text, nullptr, 16));
}

class FakeRegistry : public platform::TypeLibRegistry {
 public:
  explicit FakeRegistry(const std::string& text) {
    for (std::string item : Items(text)) {
      platform::TypeLibRegistration registration;
      if (item.starts_with("user ")) {
        registration.user = true;
        item.erase(0, 5);
      }
      const auto dot = item.find('.');
      const auto slash = item.find('/');
      const auto slash2 = item.find('/', slash + 1);
      const auto eq = item.find('=');
      registration.major = Hex(item.substr(0, dot));
      registration.minor = Hex(item.substr(dot + 1, slash - dot - 1));
      registration.lcid = Hex(item.substr(slash + 1, slash2 - slash - 1));
      (item.substr(slash2 + 1, 5) == "win64" ? registration.win64 : registration.win32) = item.substr(eq + 1);
      registrations_.push_back(registration);
    }
  }
  std::vector<platform::TypeLibRegistration> Registrations(const std::string& guid) override {
    return mdlTrim::LowerAscii(guid) == mdlTrim::LowerAscii(kA)
               ? registrations_
               : std::vector<platform::TypeLibRegistration>{};
  }
  std::string Source() const override { return "the fake"; }

 private:
  std::vector<platform::TypeLibRegistration> registrations_;
};

// Files by lower-case Windows path and resource: "none" holds no library.
class FakeLibraryFiles : public platform::LibraryFiles {
 public:
  explicit FakeLibraryFiles(const std::string& text) {
    for (const std::string& item : Items(Expanded(text))) {
      const auto eq = item.find('=');
      std::string path = mdlTrim::LowerAscii(item.substr(0, eq));
      uint32_t resource = 0;
      if (const auto hash = path.find('#'); hash != std::string::npos) {
        resource = std::stoul(path.substr(hash + 1));
        path.erase(hash);
      }
      platform::LibraryFile file{true, path, std::nullopt, "none"};
      const std::string identity = item.substr(eq + 1);
      if (identity != "none") {
        const auto blank = identity.find(' ');
        const auto dot = identity.find('.');
        file.identity = platform::TypeLibIdentity{identity.substr(0, blank),
                                                  Hex(identity.substr(blank + 1, dot - blank - 1)),
                                                  Hex(identity.substr(dot + 1))};
      }
      files_[{path, resource}] = file;
    }
  }
  platform::LibraryFile Look(const std::string& windowsPath, bool, uint32_t resourceId) override {
    // ".." taken away as the host would: the fake's project lives in Z:\p.
    std::string path = mdlTrim::LowerAscii(windowsPath);
    if (path.starts_with("z:\\p\\..\\..\\")) path = "c:\\" + path.substr(11);
    const auto found = files_.find({path, resourceId});
    return found == files_.end() ? platform::LibraryFile{} : found->second;
  }

 private:
  std::map<std::pair<std::string, uint32_t>, platform::LibraryFile> files_;
};

class ResolveTable : public ::testing::TestWithParam<fakes::Row> {};

TEST_P(ResolveTable, GivesTheFirstStatusThatApplies) {
  const auto& row = GetParam();
  ASSERT_EQ(row.size(), 5u);
  mdlFile::ProjectModel model;
  model.filePath = "Z:\\p\\App.vbp";
  const std::string line = Expanded(row[2]);
  const auto eq = line.find('=');
  model.lines.push_back({1, mdlTrim::LowerAscii(line.substr(0, eq)), line.substr(eq + 1)});
  fakes::MemoryTextFiles texts;
  const auto dependencies = deps::ReadDependencies(model, texts);
  ASSERT_EQ(dependencies.size(), 1u);
  FakeRegistry registry(row[3] == "-" ? "" : row[3]);
  FakeLibraryFiles files(row[4]);
  const auto resolutions =
      deps::Resolve(dependencies, {model, row[3] == "-" ? nullptr : &registry, "no registry", files});
  ASSERT_EQ(resolutions.size(), 1u);
  EXPECT_EQ(deps::StatusName(resolutions[0].status), row[0]) << resolutions[0].text;
  EXPECT_EQ(resolutions[0].registeredVersion.value_or(""), row[1]);
  EXPECT_FALSE(resolutions[0].text.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, ResolveTable,
                         ::testing::ValuesIn(fakes::ReadTable("deps/resolve.txt", "|", 5)));

// The reader's fields, line by line: kind|guid|version|lcid|name|description for a project file line, or
// for a header line when the case's line starts with "frm:".
class ReadTable : public ::testing::TestWithParam<fakes::Row> {};

TEST_P(ReadTable, ReadsEachForm) {
  const auto& row = GetParam();
  ASSERT_EQ(row.size(), 7u);
  mdlFile::ProjectModel model;
  model.filePath = "Z:\\p\\App.vbp";
  fakes::MemoryTextFiles texts;
  std::string line = row[0];
  if (line.starts_with("frm:")) {
    texts.Put("Z:\\p\\Main.frm",
              "VERSION 5.00\r\n" + line.substr(4) + "\r\nBegin VB.Form Main\r\nObject = \"{X}\"\r\n");
    model.components.push_back({mdlFile::kindForm, "Main", "Main.frm", 1});
  } else {
    const auto eq = line.find('=');
    model.lines.push_back({1, mdlTrim::LowerAscii(line.substr(0, eq)), line.substr(eq + 1)});
    model.lines.push_back({2, "compatiblemode", "\"1\""});
  }
  const auto dependencies = deps::ReadDependencies(model, texts);
  if (row[1] == "none") {
    EXPECT_TRUE(dependencies.empty());
    return;
  }
  ASSERT_EQ(dependencies.size(), 1u);
  const auto& got = dependencies[0];
  EXPECT_EQ(deps::KindName(got.kind), row[1]);
  EXPECT_EQ(got.guid, row[2]);
  EXPECT_EQ(got.version ? deps::VersionText(*got.version) : "", row[3]);
  EXPECT_EQ(got.lcid ? std::to_string(*got.lcid) : "", row[4]);
  EXPECT_EQ(got.name, row[5]);
  EXPECT_EQ(got.description, row[6]);
  EXPECT_EQ(got.line, line.starts_with("frm:") ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadTable, ::testing::ValuesIn(fakes::ReadTable("deps/read.txt", "|", 7)));

}  // namespace
