#include "cmndlg/main_window_settings.h"

namespace cmndlg {

std::string MainWindowSettings() {
  return "filter = \"Project Files (*.vbp)|*.vbp\"\r\n";
}

}  // namespace cmndlg
