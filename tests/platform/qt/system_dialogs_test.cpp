// The system dialogs on Qt, called with the request records the control fills.
#include <gtest/gtest.h>

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
#include <fstream>
#include <map>
#include <sstream>

#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/qt/file_dialog_request.h"
#include "platform/qt/qt_handles.h"
#include "platform/qt/qt_system_dialogs.h"
#include "tests/platform/qt/qt_fixture.h"

// Records are written as designated initializers naming only what a case sets; the rest is zero.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// Receives the URLs the desktop would open.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QList<QUrl> urls;
 public slots:
  void Open(const QUrl& url) { urls << url; }
};

class SystemDialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(work.isValid());
    for (const char* name : {"a.txt", "b.txt", "c.log"})
      QFile(work.filePath(name)).open(QIODevice::WriteOnly);
    runner.aliases = {
        {work.path(), "%"}, {QString::fromStdString(Windows("")), "%"}, {QDir::currentPath(), "(current)"}};
  }
  std::string Windows(const QString& name) const {
    return *posix::WindowsFromHost(QDir(work.path()).absoluteFilePath(name).toStdString(), *codePage);
  }

  QTemporaryDir work;
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
  QWidget owner;
  qttest::ScriptedRunner runner;
  qtui::QtSystemDialogs dialogs{&owner, runner, *codePage};
};

// Each case of the table is a request ("open" or "save" and its fields), the answers given to the dialogs
// it shows, then the lines those dialogs showed and the record it leaves. "%" is the test's folder; in a
// filter list "|" is a NUL and "_" a blank; in the record, the text at nFileOffset and at nFileExtension.
TEST_F(SystemDialogsTest, FileDialogsFollowTheTable) {
  std::ifstream table(TARVEX_SOURCE_DIR "/tests/data/windows/file_dialogs.txt");
  ASSERT_TRUE(table.is_open());
  std::string line, name, expected;
  std::map<std::string, std::string> fields;
  const auto run = [&] {
    SCOPED_TRACE(name);
    std::string filter =
        fields.count("filter") ? fields["filter"] : "Text_(*.txt;*.log)|*.txt;*.log|All_Files_(*.*)|*.*||";
    std::replace(filter.begin(), filter.end(), '|', '\0');
    std::replace(filter.begin(), filter.end(), '_', ' ');
    const auto number = [&](const std::string& key, uint32_t otherwise) -> uint32_t {
      const std::string& text = fields.count(key) ? fields[key] : std::to_string(otherwise);
      return text[0] == '%' ? Windows("").size() + std::stoi(text.substr(1)) : std::stoul(text, nullptr, 0);
    };
    std::string file(260, '\0'), title(260, '\0'), initial = fields["file"], dir = fields["dir"];
    for (auto* text : {&initial, &dir})
      if (text->starts_with('%')) *text = Windows("") + text->substr(1);
    std::copy(initial.begin(), initial.end(), file.begin());
    platform::OPENFILENAMEA record{.lStructSize = sizeof(platform::OPENFILENAMEA),
                                   .hwndOwner = qtui::kMainWindowHandle,
                                   .lpstrFilter = filter.c_str(),
                                   .nFilterIndex = number("index", 1),
                                   .lpstrFile = file.data(),
                                   .nMaxFile = number("maxfile", 260),
                                   .lpstrFileTitle = title.data(),
                                   .nMaxFileTitle = number("maxtitle", 260),
                                   .lpstrInitialDir = dir.c_str(),
                                   .lpstrTitle = "Pick",
                                   .Flags = number("flags", 0),
                                   .lpstrDefExt = fields["defext"].c_str()};
    runner.seen.clear();
    const int32_t result =
        fields["call"] == "save" ? dialogs.GetSaveFileNameA(record) : dialogs.GetOpenFileNameA(record);
    file.resize(file.find(std::string(2, '\0')));
    QString actual =
        runner.seen.join('\n') +
        QString("\nresult %1 file=%2 title=%3 index=%4 flags=0x%5 at-offset=%6 at-ext=%7\n")
            .arg(result)
            .arg(QString::fromStdString(file).replace(QChar(0), '|'), title.c_str())
            .arg(record.nFilterIndex)
            .arg(record.Flags, 0, 16)
            .arg(QString::fromStdString(file.substr(std::min<size_t>(record.nFileOffset, file.size())))
                     .replace(QChar(0), '|'),
                 QString::fromStdString(file.substr(std::min<size_t>(record.nFileExtension, file.size())))
                     .replace(QChar(0), '|'));
    for (const auto& [host, alias] : runner.aliases) actual.replace(host, alias);
    EXPECT_EQ(actual.toStdString(), expected);
    EXPECT_TRUE(runner.answers.empty());
  };
  while (std::getline(table, line)) {
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (word == "case") {
      if (!name.empty()) run();
      name = line.substr(5), expected.clear(), fields.clear();
    } else if (word == "open" || word == "save") {
      fields["call"] = word;
      while (words >> word) fields[word.substr(0, word.find('='))] = word.substr(word.find('=') + 1);
    } else if (word == "answer") {
      runner.answers.push_back(QString::fromStdString(line.substr(7)));
    } else if (!word.empty() && word[0] != '#') {
      expected += line + '\n';
    }
  }
  if (!name.empty()) run();
}

// The colour, font and print dialogs start from the request, and what the user leaves in them is what the
// record holds afterwards; a cancelled one leaves the record alone.
TEST_F(SystemDialogsTest, ColourFontAndPrintCarryTheRequestBothWays) {
  struct : qtui::DialogRunner {
    std::function<int(QDialog&)> answer;
    int Run(QDialog& dialog) override { return answer(dialog); }
  } user;
  qtui::QtSystemDialogs byHand(&owner, user, *codePage);
  std::array<uint32_t, 16> custom{0, 0, 0, 0x00112233};
  platform::CHOOSECOLORA colour{
      .hwndOwner = qtui::kMainWindowHandle, .rgbResult = 0x00336699, .lpCustColors = custom.data()};
  user.answer = [](QDialog& dialog) {
    auto& colours = dynamic_cast<QColorDialog&>(dialog);
    EXPECT_EQ(colours.currentColor(), QColor(0x99, 0x66, 0x33));  // 0x00BBGGRR
    EXPECT_EQ(QColorDialog::customColor(3), QColor(0x33, 0x22, 0x11));
    EXPECT_EQ(QColorDialog::customColor(0), QColor(0, 0, 0));
    colours.setCurrentColor(QColor(255, 0, 16));
    return QDialog::Accepted;
  };
  ASSERT_EQ(byHand.ChooseColorA(colour), 1);
  EXPECT_EQ(colour.rgbResult, 0x001000FFu);

  platform::LOGFONTA logFont{
      .lfHeight = -16, .lfWeight = 700, .lfItalic = 255, .lfCharSet = 2, .lfFaceName = "Sans Serif"};
  platform::CHOOSEFONTA font{
      .hwndOwner = qtui::kMainWindowHandle, .lpLogFont = &logFont, .Flags = platform::kCfInitToLogFontStruct};
  QFont chosen;
  user.answer = [&](QDialog& dialog) {
    auto& fonts = dynamic_cast<QFontDialog&>(dialog);
    EXPECT_DOUBLE_EQ(fonts.currentFont().pointSizeF(), 12.0);  // 16 pixels at 96 dots per inch
    EXPECT_TRUE(fonts.currentFont().bold() && fonts.currentFont().italic());
    // A plain style of the same family, by the name the font list knows it under.
    const QString family = fonts.currentFont().family();
    const QStringList styles = QFontDatabase::styles(family);
    const auto plain = std::find_if(styles.begin(), styles.end(), [&](const QString& style) {
      return !QFontDatabase::bold(family, style) && !QFontDatabase::italic(family, style);
    });
    chosen = QFontDatabase::font(family, plain != styles.end() ? *plain : QString(), 10);
    chosen.setUnderline(true);
    chosen.setStrikeOut(true);
    fonts.setCurrentFont(chosen);
    chosen = fonts.currentFont();
    return QDialog::Accepted;
  };
  ASSERT_EQ(byHand.ChooseFontA(font), 1);
  ASSERT_EQ(chosen.pointSize(), 10);
  EXPECT_EQ(std::make_tuple(logFont.lfHeight, logFont.lfWeight, logFont.lfItalic, logFont.lfUnderline,
                            logFont.lfStrikeOut),
            std::make_tuple(-13, static_cast<int>(chosen.weight()), chosen.italic() ? 255 : 0, 255, 255));
  EXPECT_EQ(logFont.lfCharSet, 2) << "Qt has no character sets; the request's is kept";
  EXPECT_EQ(QString(logFont.lfFaceName), chosen.family());
  EXPECT_EQ(font.iPointSize, 100);
  EXPECT_EQ(font.Flags, platform::kCfInitToLogFontStruct);

  platform::PRINTDLGA print{.hwndOwner = qtui::kMainWindowHandle,
                            .Flags = 0x2,
                            .nFromPage = 2,
                            .nToPage = 5,
                            .nMinPage = 1,
                            .nMaxPage = 9,
                            .nCopies = 3};  // PD_PAGENUMS
  user.answer = [](QDialog& dialog) {
    QPrinter* printer = dynamic_cast<QPrintDialog&>(dialog).printer();
    EXPECT_EQ(printer->printRange(), QPrinter::PageRange);
    EXPECT_EQ(std::make_tuple(printer->copyCount(), printer->fromPage(), printer->toPage()),
              std::make_tuple(3, 2, 5));
    printer->setCopyCount(2);
    printer->setFromTo(4, 6);
    return QDialog::Accepted;
  };
  ASSERT_EQ(byHand.PrintDlgA(print), 1);
  EXPECT_EQ(std::make_tuple(print.nCopies, print.nFromPage, print.nToPage, print.hDC),
            std::make_tuple(2, 4, 6, 0))
      << "no context was asked for";
  print.Flags = 0x100;  // PD_RETURNDC
  user.answer = [](QDialog&) { return QDialog::Accepted; };
  ASSERT_EQ(byHand.PrintDlgA(print), 1);
  EXPECT_NE(byHand.Printer(print.hDC), nullptr);
  EXPECT_GT(byHand.GetDeviceCaps(print.hDC, platform::kLogPixelsY), 0);
  EXPECT_EQ(byHand.GetDeviceCaps(qtui::kScreenDc, platform::kLogPixelsY), 96);
  EXPECT_EQ(byHand.GetDeviceCaps(12345, platform::kLogPixelsY), 0) << "no such context";

  user.answer = [](QDialog&) { return QDialog::Rejected; };
  const auto before = std::make_tuple(colour.rgbResult, std::string(logFont.lfFaceName), print.nCopies);
  EXPECT_EQ(byHand.ChooseColorA(colour) + byHand.ChooseFontA(font) + byHand.PrintDlgA(print), 0);
  EXPECT_EQ(std::make_tuple(colour.rgbResult, std::string(logFont.lfFaceName), print.nCopies), before);
}

TEST_F(SystemDialogsTest, HelpOpensTheFileWithTheDesktopsViewer) {
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "Open");
  const std::string help = Windows("a.txt"), missing = Windows("none.hlp");
  EXPECT_EQ(dialogs.WinHelpA(qtui::kMainWindowHandle, help.c_str(), 1, 0), 1);
  EXPECT_EQ(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(work.filePath("a.txt"))});
  EXPECT_EQ(dialogs.WinHelpA(qtui::kMainWindowHandle, "", 1, 0), 0);
  EXPECT_EQ(dialogs.WinHelpA(qtui::kMainWindowHandle, missing.c_str(), 1, 0), 0);
  EXPECT_EQ(dialogs.WinHelpA(qtui::kMainWindowHandle, help.c_str(), 2, 0), 1) << "HELP_QUIT";
  EXPECT_EQ(catcher.urls.size(), 1);
  QDesktopServices::unsetUrlHandler("file");
}

}  // namespace

#include "system_dialogs_test.moc"
