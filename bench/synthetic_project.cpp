#include "bench/synthetic_project.h"

#include <cstdlib>
#include <fstream>
#include <random>

namespace bench {

namespace {

void WriteFile(SyntheticProject& project, const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
  project.files.push_back(path);
  project.bytes += content.size();
}

std::string FormText(const std::string& name, std::size_t size, std::mt19937& random) {
  std::string text = "VERSION 5.00\r\nBegin VB.Form " + name + " \r\n   Caption         =   \"" + name +
                     "\"\r\n   ClientHeight    =   3195\r\n   ClientWidth     =   4680\r\n";
  // About a tenth of the form is its controls, the rest is code.
  int control = 0;
  while (text.size() < size / 10) {
    const std::string id = "txtField" + std::to_string(control++);
    text +=
        "   Begin VB.TextBox " + id +
        " \r\n      Height          =   285\r\n      Left            =   " + std::to_string(random() % 4000) +
        "\r\n      TabIndex        =   " + std::to_string(control) +
        "\r\n      Text            =   \"\"\r\n      Top             =   " + std::to_string(random() % 3000) +
        "\r\n      Width           =   1215\r\n   End\r\n";
  }
  text += "End\r\nAttribute VB_Name = \"" + name +
          "\"\r\nAttribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = False\r\n"
          "Attribute VB_PredeclaredId = True\r\nAttribute VB_Exposed = False\r\nOption Explicit\r\n\r\n";
  int procedure = 0;
  while (text.size() < size) {
    const std::string n = std::to_string(procedure++);
    text += "Private Sub txtField" + n + "_Change()\r\n    Dim total As Long\r\n    total = Val(txtField" +
            n + ".Text) * " + std::to_string(random() % 100) +
            "\r\n    If total > 100 Then MsgBox \"Too much: \" & total\r\n" + "End Sub\r\n\r\n";
  }
  return text;
}

}  // namespace

SyntheticProject WriteSyntheticProject(const std::filesystem::path& folder, int components,
                                       std::size_t formMin, std::size_t formMax, std::uint32_t seed) {
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "Forms");
  std::filesystem::create_directories(folder / "Code");
  SyntheticProject project;
  project.folder = folder;
  project.projectFile = folder / "Big.vbp";
  std::mt19937 random(seed);
  std::string vbp = "Type=Exe\r\nName=\"Big\"\r\n";
  std::vector<std::pair<std::filesystem::path, std::string>> pending;
  for (int i = 0; i < components; ++i) {
    const std::string n = std::to_string(i);
    switch (i % 5) {
      case 0:
      case 1: {
        const std::size_t size = formMin + (formMax > formMin ? random() % (formMax - formMin) : 0);
        vbp += "Form=Forms\\frm" + n + ".frm\r\n";
        pending.emplace_back(folder / "Forms" / ("frm" + n + ".frm"), FormText("frm" + n, size, random));
        break;
      }
      case 2:
        vbp += "Module=mod" + n + "; Code\\mod" + n + ".bas\r\n";
        pending.emplace_back(folder / "Code" / ("mod" + n + ".bas"),
                             "Attribute VB_Name = \"mod" + n + "\"\r\nOption Explicit\r\n");
        break;
      case 3:
        vbp += "Class=cls" + n + "; Code\\cls" + n + ".cls\r\n";
        pending.emplace_back(folder / "Code" / ("cls" + n + ".cls"),
                             "VERSION 1.0 CLASS\r\nAttribute VB_Name = \"cls" + n + "\"\r\n");
        break;
      default:
        vbp += "UserControl=Code\\ctl" + n + ".ctl\r\n";
        pending.emplace_back(folder / "Code" / ("ctl" + n + ".ctl"),
                             "VERSION 5.00\r\nBegin VB.UserControl ctl" + n +
                                 "\r\nEnd\r\nAttribute VB_Name = \"ctl" + n + "\"\r\n");
    }
  }
  vbp += "Startup=\"frm0\"\r\nMajorVer=1\r\n";
  WriteFile(project, project.projectFile, vbp);
  for (const auto& [path, content] : pending) WriteFile(project, path, content);
  return project;
}

double BenchScale() {
  const char* value = std::getenv("TARVEX_BENCH_SCALE");
  if (value == nullptr) return 1.0;
  const double scale = std::atof(value);
  return scale > 0 ? scale : 1.0;
}

}  // namespace bench
