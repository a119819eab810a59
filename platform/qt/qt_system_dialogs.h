// The system's common dialogs and help viewer on Qt: file, colour, font and print dialogs, the
// desktop's viewer for help files, and the screen's and printers' resolution.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "platform/code_page.h"
#include "platform/host_paths.h"
#include "platform/qt/dialog_runner.h"
#include "platform/system_dialogs.h"

class QPrinter;

namespace qtui {

// Every dialog is modal, owned by the main window when the request names it, and shown through the
// runner. Paths cross as Windows paths, mapped to the host's by hostPaths (on POSIX drive Z: is the
// root: Z:\home\ann\x.vbp is /home/ann/x.vbp).
class QtSystemDialogs : public platform::SystemDialogs {
 public:
  // The code page and the host paths must outlive this.
  QtSystemDialogs(QWidget* mainWindow, DialogRunner& runner, const platform::CodePage& codePage,
                  const platform::HostPaths& hostPaths);
  ~QtSystemDialogs() override;
  QtSystemDialogs(const QtSystemDialogs&) = delete;
  QtSystemDialogs& operator=(const QtSystemDialogs&) = delete;

  int32_t GetOpenFileNameA(platform::OPENFILENAMEA& request) override;
  int32_t GetSaveFileNameA(platform::OPENFILENAMEA& request) override;
  int32_t ChooseColorA(platform::CHOOSECOLORA& request) override;
  int32_t ChooseFontA(platform::CHOOSEFONTA& request) override;
  int32_t PrintDlgA(platform::PRINTDLGA& request) override;
  int32_t WinHelpA(platform::Handle owner, const char* helpFile, uint32_t command, uintptr_t data) override;
  int32_t GetDeviceCaps(platform::Handle hdc, int32_t index) override;

  // The printer behind a context a print dialog returned, or null.
  QPrinter* Printer(platform::Handle hdc) const;

 private:
  int32_t FileDialog(platform::OPENFILENAMEA& request, bool save);
  QWidget* OwnerOf(platform::Handle owner) const;

  QWidget* mainWindow_;
  DialogRunner& runner_;
  const platform::CodePage& codePage_;
  const platform::HostPaths& hostPaths_;
  std::vector<std::unique_ptr<QPrinter>> printers_;  // contexts handed out, alive as long as this
};

}  // namespace qtui
