#include "bench/pack_project_generator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace bench {

namespace {

struct Kind {
  int32_t kind;
  const char* prefix;
  const char* extension;
  std::size_t size;
  std::vector<std::pair<const char*, std::size_t>> companions;
  int share;  // per 100 components
};

const std::vector<Kind>& Kinds() {
  static const std::vector<Kind> kinds = {
      {mdlFile::kindForm, "frm", ".frm", 12 * 1024, {{".frx", 96 * 1024}}, 33},
      {mdlFile::kindModule, "mod", ".bas", 24 * 1024, {}, 37},
      {mdlFile::kindClass, "cls", ".cls", 10 * 1024, {}, 15},
      {mdlFile::kindUserControl, "ctl", ".ctl", 8 * 1024, {{".ctx", 48 * 1024}}, 7},
      {mdlFile::kindPropertyPage, "pag", ".pag", 6 * 1024, {{".pgx", 16 * 1024}}, 4},
      {mdlFile::kindUserDocument, "doc", ".dob", 6 * 1024, {}, 2},
      {mdlFile::kindDesigner, "dsg", ".dsr", 8 * 1024, {{".dsx", 64 * 1024}, {".dsa", 32 * 1024}}, 2},
  };
  return kinds;
}

const char* Key(int32_t kind) {
  switch (kind) {
    case mdlFile::kindForm:
      return "Form";
    case mdlFile::kindUserControl:
      return "UserControl";
    case mdlFile::kindPropertyPage:
      return "PropertyPage";
    case mdlFile::kindUserDocument:
      return "UserDocument";
    default:
      return "Designer";
  }
}

// Bytes that differ from file to file, so that no file system can share them.
// A component's own file starts with the header the reader looks for, so that reading the project
// finds every kind and name that the model below holds.
void WriteFile(const std::filesystem::path& path, std::size_t size, unsigned seed, std::uintmax_t& total,
               const std::string& header = {}) {
  std::string bytes(size, '\0');
  unsigned state = seed * 2654435761u + 1;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = static_cast<char>(' ' + ((state >> 16) % 95));
  }
  bytes.replace(0, std::min(header.size(), size), header.substr(0, size));
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  total += size;
}

}  // namespace

double PackBenchScale() {
  const char* text = std::getenv("TARVEX_BENCH_SCALE");
  const double scale = text && *text ? std::atof(text) : 1.0;
  return scale > 0 ? scale : 1.0;
}

namespace {

std::string WindowsPath(const std::filesystem::path& path) {
  std::string text = path.string();
  for (char& c : text) c = c == '/' ? '\\' : c;
  return "Z:" + text;
}

// Writes `count` components numbered from `first` for the project in projectFolder, forms and their
// .frx files into formsFolder (outside the project's folder, named from it as formsRelative), every tenth
// other component into the project's Shared subfolder; adds their lines to vbp and their files to project.
void WriteComponents(const std::filesystem::path& projectFolder, const std::filesystem::path& formsFolder,
                     const std::string& formsRelative, int first, int count, std::string& vbp,
                     PackProjectOnDisk& project) {
  std::filesystem::create_directories(projectFolder / "Shared");
  std::filesystem::create_directories(formsFolder);
  int made = 0;
  for (int round = 0; made < count; ++round) {
    for (const Kind& kind : Kinds()) {
      for (int k = 0; k < kind.share && made < count; ++k, ++made) {
        const int number = first + made;
        char base[32];
        std::snprintf(base, sizeof base, "%s%05d", kind.prefix, number);
        const bool form = kind.kind == mdlFile::kindForm;
        const bool shared = !form && number % 10 == 0;
        const std::string relative =
            form ? formsRelative + "\\" + base : (shared ? std::string("Shared\\") : std::string()) + base;
        const std::filesystem::path host =
            form ? formsFolder / base : projectFolder / (shared ? "Shared" : "") / base;
        const std::string header =
            std::string(form ? "VERSION 5.00\r\nBegin VB.Form " : "VERSION 5.00\r\nBegin X ") + base +
            "\r\nEnd\r\nAttribute VB_Name = \"" + base + "\"\r\n";
        WriteFile(host.string() + kind.extension, kind.size, number, project.bytes, header);
        project.files.push_back(host.string() + kind.extension);
        for (const auto& [extension, size] : kind.companions) {
          WriteFile(host.string() + extension, size, number * 7 + 3, project.bytes);
          project.files.push_back(host.string() + extension);
        }
        const std::string path = relative + kind.extension;
        const bool named = kind.kind == mdlFile::kindModule || kind.kind == mdlFile::kindClass;
        project.model.components.push_back({kind.kind, base, path});
        vbp += named
                   ? std::string(kind.kind == mdlFile::kindModule ? "Module=" : "Class=") + base + "; " + path
                   : std::string(Key(kind.kind)) + "=" + path;
        vbp += "\r\n";
      }
    }
  }
}

void WriteProjectFile(const std::filesystem::path& path, std::string vbp, const std::string& name,
                      PackProjectOnDisk& project) {
  project.model.count = static_cast<int32_t>(project.model.components.size());
  vbp += "Startup=\"frm00000\"\r\nName=\"" + name + "\"\r\nMajorVer=1\r\n";
  std::ofstream(path, std::ios::binary) << vbp;
  project.files.push_back(path);
}

}  // namespace

PackProjectOnDisk WritePackProject(const std::filesystem::path& folder, int components) {
  PackProjectOnDisk project;
  project.folder = folder / "Big";
  std::filesystem::remove_all(folder);
  project.model.filePath = WindowsPath(project.folder / "Big.vbp");
  std::string vbp = "Type=Exe\r\n";
  WriteComponents(project.folder, folder / "Forms", "..\\Forms", 0, components, vbp, project);
  WriteProjectFile(project.folder / "Big.vbp", std::move(vbp), "Big", project);
  return project;
}

PackGroupOnDisk WritePackGroup(const std::filesystem::path& folder, int members, int components) {
  PackGroupOnDisk group;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  group.group.filePath = WindowsPath(folder / "Big.vbg");
  std::string vbg = "VBGROUP 5.0\r\n";
  int first = 0;
  for (int m = 0; m < members; ++m) {
    const int count = components * (m + 1) / members - components * m / members;
    const std::string name = "Member" + std::to_string(m);
    PackProjectOnDisk project;
    project.folder = folder / name;
    project.model.filePath = WindowsPath(project.folder / (name + ".vbp"));
    std::string vbp = "Type=Exe\r\n";
    WriteComponents(project.folder, folder / "Forms", "..\\Forms", first, count, vbp, project);
    WriteProjectFile(project.folder / (name + ".vbp"), std::move(vbp), name, project);
    first += count;
    const std::string path = name + "\\" + name + ".vbp";
    vbg += (m == 0 ? "StartupProject=" : "Project=") + path + "\r\n";
    group.group.members.push_back({path, m + 2, m == 0});
    group.files.insert(group.files.end(), project.files.begin(), project.files.end());
    group.bytes += project.bytes;
    group.members.push_back(std::move(project.model));
  }
  std::ofstream(folder / "Big.vbg", std::ios::binary) << vbg;
  group.files.push_back(folder / "Big.vbg");
  return group;
}

}  // namespace bench
