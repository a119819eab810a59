// The system dialogs on Qt, called with the request records the control fills.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QUrl>
#include <cstring>

#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/pack_files_posix.h"
#include "platform/posix/posix_text_files.h"
#include "platform/qt/file_dialog_request.h"
#include "platform/qt/qt_handles.h"
#include "platform/qt/qt_main_window.h"
#include "platform/qt/qt_system_dialogs.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

// Receives the URLs the desktop would open.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls << url; }
};

// An Open / Save As request with its buffers, as the control builds it.
struct FileRequest {
  explicit FileRequest(std::string filterList, const std::string& initialFile = "", uint32_t flags = 0)
      : filter(std::move(filterList)), file(260, '\0'), title(260, '\0') {
    std::memcpy(file.data(), initialFile.data(), initialFile.size());
    record.lStructSize = sizeof record;
    record.hwndOwner = qtui::kMainWindowHandle;
    record.lpstrFilter = filter.c_str();
    record.nFilterIndex = 1;
    record.lpstrFile = file.data();
    record.nMaxFile = 260;
    record.lpstrFileTitle = title.data();
    record.nMaxFileTitle = 260;
    record.lpstrInitialDir = initialDir.c_str();
    record.lpstrTitle = dialogTitle.c_str();
    record.lpstrDefExt = defaultExt.c_str();
    record.Flags = flags;
  }
  std::string File() const { return file.c_str(); }
  std::string Title() const { return title.c_str(); }

  std::string filter;
  std::string file;
  std::string title;
  std::string initialDir;
  std::string dialogTitle = "Pick";
  std::string defaultExt;
  platform::OPENFILENAMEA record{};
};

class SystemDialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(work.isValid());
    for (const char* name : {"a.txt", "b.txt", "c.log"}) {
      QFile file(work.filePath(name));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
  }
  std::string Windows(const QString& host) const {
    return *posix::WindowsFromHost(host.toStdString(), *codePage);
  }

  QTemporaryDir work;
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  QWidget owner;
  qttest::ScriptedRunner runner;
  qtui::QtSystemDialogs dialogs{&owner, runner, *codePage};
};

const std::string kTwoFilters("Text (*.txt;*.log)\0*.txt;*.log\0All Files (*.*)\0*.*\0\0", 52);

TEST_F(SystemDialogsTest, OpenStartsFromTheRequestAndWritesTheChosenFileBack) {
  FileRequest request(kTwoFilters, Windows(work.filePath("a.txt")), 0x10000);
  request.record.nFilterIndex = 2;
  runner.answers.push_back([&](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(files.windowTitle(), "Pick");
    EXPECT_EQ(files.parentWidget(), &owner);
    EXPECT_EQ(files.nameFilters(), (QStringList{"Text (*.txt;*.log) (*.txt *.log)", "All Files (*.*) (*)"}));
    EXPECT_EQ(files.selectedNameFilter(), "All Files (*.*)");
    EXPECT_EQ(files.directory().absolutePath(), QDir(work.path()).absolutePath());
    EXPECT_EQ(files.selectedFiles(), QStringList{work.filePath("a.txt")});
    EXPECT_EQ(files.fileMode(), QFileDialog::AnyFile);
    auto* readOnly = files.findChild<QCheckBox*>();
    EXPECT_NE(readOnly, nullptr) << "without OFN_HIDEREADONLY the read-only box is shown";
    if (readOnly != nullptr) readOnly->setChecked(true);
    files.selectNameFilter(files.nameFilters()[0]);
    files.selectFile(work.filePath("c.log"));
    static_cast<QDialog&>(files).accept();
    return files.result();
  });
  ASSERT_EQ(dialogs.GetOpenFileNameA(request.record), 1);
  EXPECT_EQ(request.File(), Windows(work.filePath("c.log")));
  EXPECT_EQ(request.File().substr(0, 3), "Z:\\");
  EXPECT_EQ(request.Title(), "c.log");
  EXPECT_EQ(request.record.nFilterIndex, 1u);
  EXPECT_EQ(request.record.Flags, 0x10000u | qtui::OFN_READONLY) << "the caller's bits and the result's";
  EXPECT_EQ(request.record.nFileOffset, request.File().size() - 5);
  EXPECT_EQ(request.record.nFileExtension, request.File().size() - 3);
}

TEST_F(SystemDialogsTest, FlagsCarryOverToQtsDialog) {
  FileRequest open(kTwoFilters, "", qtui::OFN_FILEMUSTEXIST | qtui::OFN_HIDEREADONLY);
  runner.answers.push_back([&](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(files.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(files.findChild<QCheckBox*>(), nullptr);
    return static_cast<int>(QDialog::Rejected);
  });
  EXPECT_EQ(dialogs.GetOpenFileNameA(open.record), 0);

  FileRequest save(kTwoFilters, "", qtui::OFN_OVERWRITEPROMPT);
  runner.answers.push_back([&](QDialog& dialog) {
    auto& files = dynamic_cast<QFileDialog&>(dialog);
    EXPECT_EQ(files.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(files.testOption(QFileDialog::DontConfirmOverwrite));
    return static_cast<int>(QDialog::Rejected);
  });
  EXPECT_EQ(dialogs.GetSaveFileNameA(save.record), 0);

  FileRequest quiet(kTwoFilters);
  runner.answers.push_back([&](QDialog& dialog) {
    EXPECT_TRUE(dynamic_cast<QFileDialog&>(dialog).testOption(QFileDialog::DontConfirmOverwrite));
    return static_cast<int>(QDialog::Rejected);
  });
  EXPECT_EQ(dialogs.GetSaveFileNameA(quiet.record), 0);
  EXPECT_EQ(quiet.File(), "") << "a cancelled dialog writes nothing";
}

TEST_F(SystemDialogsTest, AnAnswerThatDoesNotFitItsBufferFails) {
  FileRequest request(kTwoFilters);
  request.record.nMaxFile =
      static_cast<uint32_t>(Windows(work.filePath("a.txt")).size());  // no room for the NUL
  runner.answers.push_back(qttest::ChooseFile(work.filePath("a.txt")));
  EXPECT_EQ(dialogs.GetOpenFileNameA(request.record), 0);
  EXPECT_EQ(request.File(), "");

  FileRequest shortTitle(kTwoFilters);
  shortTitle.record.nMaxFileTitle = 5;  // "a.txt" needs 6
  runner.answers.push_back(qttest::ChooseFile(work.filePath("a.txt")));
  EXPECT_EQ(dialogs.GetOpenFileNameA(shortTitle.record), 0);
  EXPECT_EQ(shortTitle.File(), "");
}

TEST_F(SystemDialogsTest, SeveralFilesAreListedAsTheSystemListsThem) {
  FileRequest explorer(kTwoFilters, "", qtui::OFN_ALLOWMULTISELECT | qtui::OFN_EXPLORER);
  runner.answers.push_back(qttest::ChooseFiles({work.filePath("a.txt"), work.filePath("b.txt")}));
  ASSERT_EQ(dialogs.GetOpenFileNameA(explorer.record), 1);
  const std::string folder = Windows(QDir(work.path()).absolutePath());
  EXPECT_EQ(explorer.file.substr(0, folder.size() + 14), folder + std::string("\0a.txt\0b.txt\0\0", 14));
  EXPECT_EQ(explorer.record.nFileOffset, folder.size() + 1);

  FileRequest old(kTwoFilters, "", qtui::OFN_ALLOWMULTISELECT);
  runner.answers.push_back(qttest::ChooseFiles({work.filePath("a.txt"), work.filePath("b.txt")}));
  ASSERT_EQ(dialogs.GetOpenFileNameA(old.record), 1);
  EXPECT_EQ(old.File(), folder + " a.txt b.txt");
}

TEST_F(SystemDialogsTest, AFolderThatMustExistKeepsTheDialogOpenWithAWarning) {
  FileRequest request(kTwoFilters, "", qtui::OFN_PATHMUSTEXIST);
  runner.answers.push_back(qttest::ChooseFile(work.filePath("missing/x.vbp")));
  runner.answers.push_back(qttest::Ok());  // the warning
  EXPECT_EQ(dialogs.GetSaveFileNameA(request.record), 0);
  const auto warnings = runner.Seen("message");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(warnings[0].text.contains("does not exist"));
}

TEST_F(SystemDialogsTest, ADefaultExtensionMarksAnotherExtensionAsDifferent) {
  FileRequest request(kTwoFilters);
  request.defaultExt = "vbp";
  request.record.lpstrDefExt = request.defaultExt.c_str();
  runner.answers.push_back(qttest::ChooseFile(work.filePath("a.txt")));
  ASSERT_EQ(dialogs.GetSaveFileNameA(request.record), 1);
  EXPECT_NE(request.record.Flags & qtui::OFN_EXTENSIONDIFFERENT, 0u);

  FileRequest plain(kTwoFilters);
  plain.defaultExt = "vbp";
  plain.record.lpstrDefExt = plain.defaultExt.c_str();
  runner.answers.push_back(qttest::ChooseFile(work.filePath("New")));
  ASSERT_EQ(dialogs.GetSaveFileNameA(plain.record), 1);
  EXPECT_EQ(plain.Title(), "New.vbp") << "the default extension is added to a bare name";
  EXPECT_EQ(plain.record.Flags & qtui::OFN_EXTENSIONDIFFERENT, 0u);
}

TEST_F(SystemDialogsTest, ColourStartsFromTheRequestWithItsCustomColours) {
  std::array<uint32_t, 16> custom{};
  custom[3] = 0x00112233;
  platform::CHOOSECOLORA request{};
  request.hwndOwner = qtui::kMainWindowHandle;
  request.rgbResult = 0x00336699;  // 0x00BBGGRR
  request.lpCustColors = custom.data();
  runner.answers.push_back([](QDialog& dialog) {
    auto& colours = dynamic_cast<QColorDialog&>(dialog);
    EXPECT_EQ(colours.currentColor(), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(QColorDialog::customColor(3), QColor(0x33, 0x22, 0x11));
    EXPECT_EQ(QColorDialog::customColor(0), QColor(0, 0, 0));
    colours.setCurrentColor(QColor(255, 0, 16));
    return static_cast<int>(QDialog::Accepted);
  });
  ASSERT_EQ(dialogs.ChooseColorA(request), 1);
  EXPECT_EQ(request.rgbResult, 0x001000FFu);

  runner.answers.push_back(qttest::Cancel());
  request.rgbResult = 7;
  EXPECT_EQ(dialogs.ChooseColorA(request), 0);
  EXPECT_EQ(request.rgbResult, 7u);
}

TEST_F(SystemDialogsTest, FontStartsFromTheLogFontAndRewritesIt) {
  platform::LOGFONTA logFont{};
  logFont.lfHeight = -16;  // 12 points at 96 dots per inch
  logFont.lfWeight = 700;
  logFont.lfItalic = 255;
  logFont.lfCharSet = 2;
  std::strcpy(logFont.lfFaceName, "Sans Serif");
  platform::CHOOSEFONTA request{};
  request.hwndOwner = qtui::kMainWindowHandle;
  request.lpLogFont = &logFont;
  request.Flags = platform::kCfInitToLogFontStruct;
  QFont chosen;
  runner.answers.push_back([&](QDialog& dialog) {
    auto& fonts = dynamic_cast<QFontDialog&>(dialog);
    EXPECT_DOUBLE_EQ(fonts.currentFont().pointSizeF(), 12.0);
    EXPECT_TRUE(fonts.currentFont().bold());
    EXPECT_TRUE(fonts.currentFont().italic());
    // A plain style of the same family, by the name the font list knows it under.
    const QString family = fonts.currentFont().family();
    QFont font;
    for (const QString& style : QFontDatabase::styles(family)) {
      if (!QFontDatabase::bold(family, style) && !QFontDatabase::italic(family, style)) {
        font = QFontDatabase::font(family, style, 10);
        break;
      }
    }
    font.setUnderline(true);
    font.setStrikeOut(true);
    fonts.setCurrentFont(font);
    chosen = fonts.currentFont();
    return static_cast<int>(QDialog::Accepted);
  });
  ASSERT_EQ(dialogs.ChooseFontA(request), 1);
  // Whatever the dialog's choice, it is what the record holds now.
  ASSERT_EQ(chosen.pointSize(), 10);
  EXPECT_EQ(logFont.lfHeight, -13);
  EXPECT_EQ(logFont.lfWeight, chosen.weight());
  EXPECT_EQ(logFont.lfItalic, chosen.italic() ? 255 : 0);
  EXPECT_EQ(logFont.lfUnderline, 255);
  EXPECT_EQ(logFont.lfStrikeOut, 255);
  EXPECT_EQ(logFont.lfCharSet, 2) << "Qt has no character sets; the request's is kept";
  EXPECT_EQ(QString(logFont.lfFaceName), chosen.family());
  EXPECT_EQ(request.iPointSize, 100);
  EXPECT_EQ(request.Flags, platform::kCfInitToLogFontStruct);
}

TEST_F(SystemDialogsTest, PrintCarriesCopiesAndPagesBothWays) {
  platform::PRINTDLGA request{};
  request.hwndOwner = qtui::kMainWindowHandle;
  request.Flags = 0x2;  // PD_PAGENUMS
  request.nCopies = 3;
  request.nFromPage = 2;
  request.nToPage = 5;
  request.nMinPage = 1;
  request.nMaxPage = 9;
  runner.answers.push_back([](QDialog& dialog) {
    QPrinter* printer = dynamic_cast<QPrintDialog&>(dialog).printer();
    EXPECT_EQ(printer->copyCount(), 3);
    EXPECT_EQ(printer->printRange(), QPrinter::PageRange);
    EXPECT_EQ(printer->fromPage(), 2);
    EXPECT_EQ(printer->toPage(), 5);
    printer->setCopyCount(2);
    printer->setFromTo(4, 6);
    return static_cast<int>(QDialog::Accepted);
  });
  ASSERT_EQ(dialogs.PrintDlgA(request), 1);
  EXPECT_EQ(request.nCopies, 2);
  EXPECT_EQ(request.nFromPage, 4);
  EXPECT_EQ(request.nToPage, 6);
  EXPECT_EQ(request.hDC, 0) << "no context was asked for";

  request.Flags = 0x100;  // PD_RETURNDC
  runner.answers.push_back(qttest::Ok());
  ASSERT_EQ(dialogs.PrintDlgA(request), 1);
  EXPECT_NE(request.hDC, 0);
  EXPECT_NE(dialogs.Printer(request.hDC), nullptr);
  EXPECT_GT(dialogs.GetDeviceCaps(request.hDC, platform::kLogPixelsY), 0);

  runner.answers.push_back(qttest::Cancel());
  request.nCopies = 9;
  EXPECT_EQ(dialogs.PrintDlgA(request), 0);
  EXPECT_EQ(request.nCopies, 9);
}

TEST_F(SystemDialogsTest, HelpOpensTheFileWithTheDesktopsViewer) {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "Open");
  const std::string help = Windows(work.filePath("a.txt"));
  EXPECT_EQ(dialogs.WinHelpA(qtui::kMainWindowHandle, help.c_str(), 1, 0), 1);
  EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(work.filePath("a.txt"))});
  EXPECT_EQ(dialogs.WinHelpA(qtui::kMainWindowHandle, "", 1, 0), 0);
  const std::string missing = Windows(work.filePath("none.hlp"));
  EXPECT_EQ(dialogs.WinHelpA(qtui::kMainWindowHandle, missing.c_str(), 1, 0), 0);
  EXPECT_EQ(dialogs.WinHelpA(qtui::kMainWindowHandle, help.c_str(), 2, 0), 1) << "HELP_QUIT";
  EXPECT_EQ(catcher.urls.size(), 1);
  QDesktopServices::unsetUrlHandler("file");
}

TEST_F(SystemDialogsTest, OnlyTheScreenHasAResolution) {
  EXPECT_EQ(dialogs.GetDeviceCaps(qtui::kScreenDc, platform::kLogPixelsY), 96);
  EXPECT_EQ(dialogs.GetDeviceCaps(12345, platform::kLogPixelsY), 0);
}

// The control on the window's container: a font read back unchanged keeps its size.
TEST(CmnMainOnQt, AnUnchangedFontKeepsItsSizeAndFlagsGainInitToLogFont) {
  const auto codePage = posix::MakeCodePage(1252);
  posix::PosixTextFiles files(*codePage);
  posix::PosixPackFiles packFiles(*codePage);
  qttest::ScriptedRunner runner;
  qtui::QtMainWindow window({*codePage, files, packFiles, runner, [] {}});
  for (const int size : {8, 10}) {
    window.cmnMain().setFontSize(size);
    runner.answers.push_back(qttest::Ok());
    window.cmnMain().ShowFont();
    EXPECT_EQ(window.cmnMain().LastError(), 0);
    EXPECT_EQ(window.cmnMain().FontSize(), size);
    EXPECT_NE(window.cmnMain().flags() & 0x40, 0);
  }
  runner.answers.push_back(qttest::Cancel());
  window.cmnMain().ShowColor();
  EXPECT_EQ(window.cmnMain().LastError(), cmndlg::kCancelError);
}

}  // namespace

#include "system_dialogs_test.moc"
