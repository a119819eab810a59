// GetOpenFileNameA and GetSaveFileNameA on Qt's own file dialog.
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>

#include "base/ascii_case.h"
#include "platform/qt/file_dialog_request.h"
#include "platform/qt/qt_system_dialogs.h"
#include "platform/qt/qt_text.h"

namespace qtui {

namespace {

// Qt's file dialog, refusing to close on a name whose folder or file must exist and does not, with a
// warning as the system's dialog gives.
class CheckedFileDialog : public QFileDialog {
 public:
  CheckedFileDialog(QWidget* owner, uint32_t flags, DialogRunner& runner)
      : QFileDialog(owner), flags_(flags), runner_(runner) {}

  void accept() override {
    for (const QString& file : selectedFiles()) {
      const QFileInfo info(file);
      if ((flags_ & OFN_PATHMUSTEXIST) != 0 && !info.absoluteDir().exists()) {
        return Warn(AsTyped(file) + "\nThe folder does not exist.\nCheck the path and try again.");
      }
      if ((flags_ & OFN_FILEMUSTEXIST) != 0 && acceptMode() == AcceptOpen && !info.exists()) {
        return Warn(AsTyped(file) + "\nThe file does not exist.\nCheck the file name and try again.");
      }
    }
    QFileDialog::accept();
  }

 private:
  // The name as the user typed it: Qt makes a typed name absolute by the dialog's folder, which the
  // warning leaves off again.
  QString AsTyped(const QString& file) const {
    QString folder = directory().absolutePath();
    if (!folder.endsWith('/')) folder += '/';
    return file.startsWith(folder) ? file.mid(folder.size()) : file;
  }

  void Warn(const QString& text) {
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    runner_.Run(box);
  }

  uint32_t flags_;
  DialogRunner& runner_;
};

// The host path of a Windows path, or empty when it names nothing that can be reached.
QString HostPath(const std::string& windowsPath, const platform::HostPaths& hostPaths,
                 bool allowMissingLeaf) {
  if (windowsPath.empty()) return {};
  try {
    return QString::fromStdString(hostPaths.HostFromWindows(windowsPath, allowMissingLeaf));
  } catch (const std::exception&) {
    return {};
  }
}

// Sets the folder and the name the dialog opens with: the folder of the initial file name when it
// has one that exists, else the initial folder, else the current one.
void SetStart(QFileDialog& dialog, const std::string& fileName, const std::string& initialDir,
              const platform::CodePage& codePage, const platform::HostPaths& hostPaths) {
  bool folderSet = false;
  QString name = Shown(codePage, fileName.substr(fileName.rfind('\\') + 1));
  if (fileName.find('\\') != std::string::npos || fileName.find(':') != std::string::npos) {
    const QString host = HostPath(fileName, hostPaths, true);
    const QFileInfo info(host);
    if (!host.isEmpty() && info.absoluteDir().exists()) {
      dialog.setDirectory(info.absolutePath());
      name = info.fileName();
      folderSet = true;
    }
  }
  if (!folderSet) {
    const QString folder = HostPath(initialDir, hostPaths, false);
    dialog.setDirectory(!folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::currentPath());
  }
  if (!name.isEmpty()) dialog.selectFile(name);
}

}  // namespace

int32_t QtSystemDialogs::GetOpenFileNameA(platform::OPENFILENAMEA& request) {
  return FileDialog(request, false);
}
int32_t QtSystemDialogs::GetSaveFileNameA(platform::OPENFILENAMEA& request) {
  return FileDialog(request, true);
}

int32_t QtSystemDialogs::FileDialog(platform::OPENFILENAMEA& request, bool save) {
  const uint32_t flags = request.Flags;
  const bool multiple = !save && (flags & OFN_ALLOWMULTISELECT) != 0;
  CheckedFileDialog dialog(OwnerOf(request.hwndOwner), flags, runner_);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, (flags & OFN_OVERWRITEPROMPT) == 0);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(multiple                               ? QFileDialog::ExistingFiles
                     : !save && (flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
  const QString title = Shown(codePage_, request.lpstrTitle != nullptr ? request.lpstrTitle : "");
  if (!title.isEmpty()) dialog.setWindowTitle(title);

  QStringList filters;
  for (const auto& pair : ParseFilterList(request.lpstrFilter)) filters << QtNameFilter(codePage_, pair);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const auto index = static_cast<qsizetype>(request.nFilterIndex);
    dialog.selectNameFilter(filters[index >= 1 && index <= filters.size() ? index - 1 : 0]);
  }
  const std::string defaultExt = request.lpstrDefExt != nullptr ? request.lpstrDefExt : "";
  if (!defaultExt.empty()) dialog.setDefaultSuffix(Shown(codePage_, defaultExt));
  SetStart(dialog, BufferText(request.lpstrFile, request.nMaxFile),
           request.lpstrInitialDir != nullptr ? request.lpstrInitialDir : "", codePage_, hostPaths_);

  QCheckBox* readOnly = nullptr;
  if (!save && (flags & OFN_HIDEREADONLY) == 0) {
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
      readOnly = new QCheckBox(QObject::tr("Open as &read-only"), &dialog);
      readOnly->setChecked((flags & OFN_READONLY) != 0);
      grid->addWidget(readOnly, grid->rowCount(), 0, 1, grid->columnCount());
    }
  }

  if (runner_.Run(dialog) != QDialog::Accepted) return 0;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return 0;
  std::vector<std::string> paths;
  for (const QString& file : chosen) {
    const auto path = hostPaths_.WindowsFromHost(QFileInfo(file).absoluteFilePath().toStdString());
    if (!path) return 0;  // a name the code page cannot spell cannot be handed back
    paths.push_back(*path);
  }
  const FileAnswer answer = AnswerFor(paths, flags);
  if (!FitsNulEnded(answer.file, request.nMaxFile)) return 0;
  if (request.lpstrFileTitle != nullptr && !FitsNulEnded(answer.title, request.nMaxFileTitle)) return 0;
  WriteNulEnded(answer.file, request.lpstrFile, request.nMaxFile);
  if (request.lpstrFileTitle != nullptr)
    WriteNulEnded(answer.title, request.lpstrFileTitle, request.nMaxFileTitle);
  request.nFileOffset = answer.fileOffset;
  request.nFileExtension = answer.fileExtension;
  if (!filters.isEmpty()) {
    // With the patterns hidden the dialog names the chosen filter by what it shows.
    const QString selected = dialog.selectedNameFilter();
    qsizetype index = filters.indexOf(selected);
    for (qsizetype i = 0; index < 0 && i < filters.size(); ++i) {
      if (filters[i].left(filters[i].lastIndexOf(" (")) == selected) index = i;
    }
    request.nFilterIndex = static_cast<uint32_t>(index >= 0 ? index + 1 : 1);
  }
  uint32_t result = flags;
  if (readOnly != nullptr)
    result = readOnly->isChecked() ? (result | OFN_READONLY) : (result & ~OFN_READONLY);
  const bool extensionDiffers =
      !defaultExt.empty() && base::LowerAscii(ExtensionOf(answer.title)) != base::LowerAscii(defaultExt);
  result = extensionDiffers ? (result | OFN_EXTENSIONDIFFERENT) : (result & ~OFN_EXTENSIONDIFFERENT);
  request.Flags = result;
  return 1;
}

}  // namespace qtui
