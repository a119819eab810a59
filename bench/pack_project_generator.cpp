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
      {mdlFile::kindForm, "frm", ".frm", 12 * 1024, {{".frx", 96 * 1024}}, 40},
      {mdlFile::kindModule, "mod", ".bas", 24 * 1024, {}, 30},
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

PackProjectOnDisk WritePackProject(const std::filesystem::path& folder, int components) {
  PackProjectOnDisk project;
  project.folder = folder;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "Shared");
  const std::string windowsFolder = "Z:" + [&] {
    std::string path = folder.string();
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
  }();
  project.model.filePath = windowsFolder + "\\Big.vbp";
  std::string vbp = "Type=Exe\r\n";
  int made = 0;
  for (int round = 0; made < components; ++round) {
    for (const Kind& kind : Kinds()) {
      for (int k = 0; k < kind.share && made < components; ++k, ++made) {
        char base[32];
        std::snprintf(base, sizeof base, "%s%05d", kind.prefix, made);
        // Every tenth component lies in a shared folder, as libraries of modules do.
        const std::string relative = (made % 10 == 0 ? std::string("Shared\\") : std::string()) + base;
        const std::filesystem::path host = folder / (made % 10 == 0 ? "Shared" : "") / base;
        const std::string header =
            std::string(kind.kind == mdlFile::kindForm ? "VERSION 5.00\r\nBegin VB.Form "
                                                       : "VERSION 5.00\r\nBegin X ") +
            base + "\r\nEnd\r\nAttribute VB_Name = \"" + base + "\"\r\n";
        WriteFile(host.string() + kind.extension, kind.size, made, project.bytes, header);
        project.files.push_back(host.string() + kind.extension);
        for (const auto& [extension, size] : kind.companions) {
          WriteFile(host.string() + extension, size, made * 7 + 3, project.bytes);
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
  project.model.count = static_cast<int32_t>(project.model.components.size());
  vbp += "Startup=\"frm00000\"\r\nName=\"Big\"\r\nMajorVer=1\r\n";
  std::ofstream(folder / "Big.vbp", std::ios::binary) << vbp;
  project.files.push_back(folder / "Big.vbp");
  return project;
}

}  // namespace bench
