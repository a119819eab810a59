// The system dialogs on Qt, called with the request records the control fills: the commands of
// system_dialogs.txt, each a request and the answers to its dialogs, and after each the record it leaves.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QFile>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <cstring>
#include <map>

#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"
#include "platform/qt/qt_handles.h"
#include "platform/qt/qt_system_dialogs.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

// Receives the URLs the desktop would open.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  QStringList urls;
 public slots:
  void Open(const QUrl& url) { urls << url.toString(); }
};

TEST(QtSystemDialogs, FollowTheRequestFile) {
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  for (const char* name : {"a.txt", "b.txt", "c.log"}) QFile(work.filePath(name)).open(QIODevice::WriteOnly);
  const auto codePage = posix::MakeCodePage(1252);
  const std::string folder =
      *posix::WindowsFromHost(QDir(work.path()).absolutePath().toStdString(), *codePage);
  QWidget owner;
  qttest::ScriptedRunner runner;
  runner.aliases = {{work.path(), "%"},
                    {QString::fromStdString(folder), "%"},
                    {QDir::currentPath(), "(current)"},
                    {QFontInfo(QFont("Sans Serif")).family(), "(sans)"}};
  qtui::QtSystemDialogs dialogs(&owner, runner, *codePage);
  UrlCatcher catcher;
  QDesktopServices::setUrlHandler("file", &catcher, "Open");

  qttest::ExpectTranscript(
      "system_dialogs.txt", runner, [&](const QString& command, const QString& argument) {
        std::map<std::string, std::string> fields;  // "%" in a value is the test's folder, "_" a blank
        for (const QString& field : argument.split(' ', Qt::SkipEmptyParts)) {
          std::string value = field.section('=', 1).replace(QChar('_'), QChar(' ')).toStdString();
          if (value.starts_with('%')) value = folder + value.substr(1);
          fields[field.section('=', 0, 0).toStdString()] = value;
        }
        const auto number = [&](const char* key, uint32_t otherwise = 0) -> uint32_t {
          return fields.count(key) ? std::stoul(fields[key], nullptr, 0) : otherwise;
        };
        std::string file(260, '\0'), title(260, '\0'), text = fields["file"];
        std::string filter = fields.count("filter") ? fields["filter"]
                                                    : "Text (*.txt;*.log)|*.txt;*.log|All Files (*.*)|*.*||";
        std::copy(text.begin(), text.end(), file.begin());
        std::replace(filter.begin(), filter.end(), '|', '\0');  // in a filter list "|" is a NUL
        int32_t result = 0;
        QString shown;
        if (command == "open" || command == "save") {
          // maxfile counts from the folder's length; the texts at nFileOffset and at nFileExtension are
          // shown.
          platform::OPENFILENAMEA record{};
          record.lStructSize = sizeof record;
          record.hwndOwner = qtui::kMainWindowHandle;
          record.lpstrFilter = filter.c_str();
          record.nFilterIndex = number("index", 1);
          record.lpstrFile = file.data();
          record.nMaxFile = fields.count("maxfile") ? folder.size() + number("maxfile") : 260;
          record.lpstrFileTitle = title.data();
          record.nMaxFileTitle = number("maxtitle", 260);
          record.lpstrInitialDir = fields["dir"].c_str();
          record.lpstrTitle = "Pick";
          record.lpstrDefExt = fields["defext"].c_str();
          record.Flags = number("flags");
          result = command == "save" ? dialogs.GetSaveFileNameA(record) : dialogs.GetOpenFileNameA(record);
          file.resize(file.find(std::string(2, '\0')));
          const auto at = [&](std::size_t offset) {
            return QString::fromStdString(file.substr(std::min(offset, file.size()))).replace(QChar(0), '|');
          };
          shown = QString("file=%1 title=%2 index=%3 flags=0x%4 at-offset=%5 at-ext=%6")
                      .arg(at(0), title.c_str())
                      .arg(record.nFilterIndex)
                      .arg(record.Flags, 0, 16)
                      .arg(at(record.nFileOffset), at(record.nFileExtension));
        } else if (command == "colour") {
          std::array<uint32_t, 16> custom{0, 0, 0, number("custom3")};
          platform::CHOOSECOLORA record{};
          record.hwndOwner = qtui::kMainWindowHandle;
          record.rgbResult = number("rgb");  // 0x00BBGGRR
          record.lpCustColors = custom.data();
          result = dialogs.ChooseColorA(record);
          shown = QString("rgb=0x%1 custom3=0x%2").arg(record.rgbResult, 0, 16).arg(custom[3], 0, 16);
        } else if (command == "font") {
          platform::LOGFONTA font{};
          font.lfHeight = static_cast<int32_t>(number("height"));
          font.lfWeight = static_cast<int32_t>(number("weight"));
          font.lfItalic = static_cast<uint8_t>(number("italic"));
          font.lfCharSet = static_cast<uint8_t>(number("charset"));
          std::strncpy(font.lfFaceName, fields["face"].c_str(), sizeof font.lfFaceName - 1);
          platform::CHOOSEFONTA record{};
          record.hwndOwner = qtui::kMainWindowHandle;
          record.lpLogFont = &font;
          record.Flags = number("flags");
          result = dialogs.ChooseFontA(record);
          shown = QString(
                      "height=%1 weight=%2 italic=%3 underline=%4 strikeout=%5 charset=%6 face=%7 points=%8 "
                      "flags=0x%9")
                      .arg(font.lfHeight)
                      .arg(font.lfWeight)
                      .arg(font.lfItalic)
                      .arg(font.lfUnderline)
                      .arg(font.lfStrikeOut)
                      .arg(font.lfCharSet)
                      .arg(font.lfFaceName)
                      .arg(record.iPointSize / 10.0)
                      .arg(record.Flags, 0, 16);
        } else if (command == "print") {
          platform::PRINTDLGA record{};
          record.hwndOwner = qtui::kMainWindowHandle;
          record.Flags = number("flags");
          record.nFromPage = static_cast<uint16_t>(number("from"));
          record.nToPage = static_cast<uint16_t>(number("to"));
          record.nMinPage = static_cast<uint16_t>(number("min"));
          record.nMaxPage = static_cast<uint16_t>(number("max"));
          record.nCopies = static_cast<uint16_t>(number("copies"));
          result = dialogs.PrintDlgA(record);
          shown = QString("copies=%1 pages=%2-%3 flags=0x%4 context=%5 dots-per-inch-known=%6")
                      .arg(record.nCopies)
                      .arg(record.nFromPage)
                      .arg(record.nToPage)
                      .arg(record.Flags, 0, 16)
                      .arg(record.hDC == 0                          ? "none"
                           : dialogs.Printer(record.hDC) != nullptr ? "printer"
                                                                    : "other")
                      .arg(dialogs.GetDeviceCaps(record.hDC, platform::kLogPixelsY) > 0);
        } else if (command == "help") {
          catcher.urls.clear();
          result = dialogs.WinHelpA(qtui::kMainWindowHandle, text.c_str(), number("command"), 0);
          shown = "opened=[" + catcher.urls.join(' ').remove("file://") + ']';
        } else {
          EXPECT_EQ(command, "caps");
          result = dialogs.GetDeviceCaps(fields["context"] == "screen" ? qtui::kScreenDc : number("context"),
                                         platform::kLogPixelsY);
        }
        return QStringList{(QString("result %1 ").arg(result) + shown).trimmed()};
      });
  QDesktopServices::unsetUrlHandler("file");
}

}  // namespace

#include "system_dialogs_test.moc"
