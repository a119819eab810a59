// frmMain's event handlers: the menu commands, the node click and the end of the program.
#pragma once

#include <optional>
#include <string>

#include "cmndlg/cmn_dlg.h"
#include "pack/mdl_file_pack.h"
#include "platform/main_window.h"
#include "project/mdl_file.h"

namespace frmMain {

// What the handlers reach by name: the window, its control cmnMain, and what reading and packing touch.
struct Form {
  platform::MainWindow& window;
  cmndlg::CmnDlg& cmnMain;
  mdlFile::ReaderContext reader;
  mdlFile::PackContext packer;
};

// "&Open...": the Open dialog, then the read of the chosen project file.
void mnuFileOpen_Click(Form& form);
// The project file named on the command line, read once the window shows as if the Open dialog had
// returned it (filePath is the full path; an empty one fails as a missing file does). cmnMain keeps it as
// its FileName, as after Open.
void OpenCommandLineProject(Form& form, const std::string& filePath);
// "Save &As...": the Save As dialog, then the pack to the chosen file.
void mnuFileSaveAs_Click(Form& form);
// "E&xit": unloads the window, which raises Form_Unload.
void mnuFileExit_Click(Form& form);
// The window is being closed, by any means: the program ends.
void Form_Unload(Form& form);
// A node of trvMain was clicked (or selected with the keyboard); key is the node's key.
void trvMain_NodeClick(Form& form, const std::string& key);

// The text the path field shows for a node key, or nothing when the key leaves the field as it is.
// A component number the model does not hold (a node of a tree left from an earlier project after
// a failed read) shows the empty text.
std::optional<std::string> NodePathText(const mdlFile::ProjectModel& model, const std::string& key);

}  // namespace frmMain
