#include "app/frm_main.h"

#include "project/mdl_trim.h"
#include "project/node_keys.h"

namespace frmMain {

void mnuFileOpen_Click(Form& form) {
  form.cmnMain.ShowOpen();
  if (form.cmnMain.LastError() != 0) return;
  mdlFile::ReadProject(form.cmnMain.FileName(), form.reader);
}

void OpenCommandLineProject(Form& form, const std::string& filePath) {
  // cmnMain holds the name as after Open, so that Save As proposes the project's path.
  form.cmnMain.setFileName(filePath);
  mdlFile::ReadProject(filePath, form.reader);
}

void mnuFileSaveAs_Click(Form& form) {
  form.cmnMain.ShowSave();
  if (form.cmnMain.LastError() != 0) return;
  mdlFile::PackProject(mdlFile::Model(), form.cmnMain.FileName(), form.packer);
}

void mnuFileExit_Click(Form& form) {
  form.window.Unload();
}

void Form_Unload(Form& form) {
  form.window.EndProgram();
}

void trvMain_NodeClick(Form& form, const std::string& key) {
  if (const auto text = NodePathText(mdlFile::Model(), key)) form.window.SetFileText(*text);
}

std::optional<std::string> NodePathText(const mdlFile::ProjectModel& model, const std::string& key) {
  if (key.empty()) return std::nullopt;
  switch (key[0]) {
    case mdlFile::kRootPrefix:
      return model.filePath;
    case mdlFile::kFolderPrefix:
      return std::string();
    case mdlFile::kComponentPrefix: {
      const int32_t number = mdlTrim::KeyNumber(key);
      if (number < 0 || number >= model.count || number >= static_cast<int32_t>(model.components.size())) {
        return std::string();
      }
      return model.components[static_cast<std::size_t>(number)].path;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace frmMain
