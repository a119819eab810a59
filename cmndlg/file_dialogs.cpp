// ShowOpen and ShowSave: one procedure, differing in the system call and the default title.
#include "cmndlg/cmn_dlg.h"
#include "cmndlg/dialog_buffers.h"

namespace cmndlg {

void CmnDlg::ShowOpen() {
  ShowFileDialog(false);
}
void CmnDlg::ShowSave() {
  ShowFileDialog(true);
}

// Text is code-page bytes already, so the buffers cross to the ANSI entry points unconverted.
void CmnDlg::ShowFileDialog(bool save) {
  lastError_ = 0;
  platform::OPENFILENAMEA request{};
  request.Flags = static_cast<uint32_t>(flags_);
  request.hwndOwner = OwnerWindow();
  request.hInstance = container_.InstanceHandle();
  std::string customFilter(kCustomFilterLength, '\0');
  const std::string defaultExt = NulEnded(defaultExt_);
  std::string file = FileBuffer(fileName_);
  const std::string filterList = FilterList(filter_);
  std::string fileTitle(kFileTitleBufferLength, '\0');
  const std::string initialDir = NulEnded(initDir_);
  const std::string title = NulEnded(dialogTitle_.empty() ? (save ? "Save As" : "Open") : dialogTitle_);

  request.lStructSize = sizeof(request);
  request.lpstrFilter = filterList.data();
  request.lpstrCustomFilter = customFilter.data();
  request.nMaxCustFilter = kCustomFilterLength;
  request.nFilterIndex = static_cast<uint32_t>(filterIndex_);
  request.lpstrFile = file.data();
  request.nMaxFile = kFileBufferLength;
  request.lpstrFileTitle = fileTitle.data();
  request.nMaxFileTitle = kFileTitleBufferLength;
  request.lpstrInitialDir = initialDir.data();
  request.lpstrTitle = title.data();
  request.lpstrDefExt = defaultExt.data();

  const int32_t result = save ? dialogs_.GetSaveFileNameA(request) : dialogs_.GetOpenFileNameA(request);
  if (result == 0) {
    lastError_ = kCancelError;
    return;
  }
  flags_ = static_cast<int32_t>(request.Flags);
  fileName_ = TextBeforeNul(file);
  fileTitle_ = TextBeforeNul(fileTitle);
  filterIndex_ = static_cast<int32_t>(request.nFilterIndex);
}

}  // namespace cmndlg
