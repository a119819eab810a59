// The system dialogs on Qt, called with the request records the control fills: the commands of
// system_dialogs.txt, each a request and the answers to its dialogs, and after each the record it leaves.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <cstring>
#include <map>

#include "platform/posix/code_pages.h"
#include "platform/posix/posix_host_paths.h"
#include "platform/qt/qt_handles.h"
#include "platform/qt/qt_system_dialogs.h"
#include "tests/platform/qt/qt_fixture.h"

// A record names only the fields a request sets; the rest is zero.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// Stands in for the desktop's viewer: keeps the URL it is asked to show.
struct Viewer : QTextBrowser {
  void doSetSource(const QUrl& url, QTextDocument::ResourceType) override { opened = url.toString(); }
  QString opened;
};

TEST(QtSystemDialogs, FollowTheRequestFile) {
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  for (const char* name : {"a.txt", "b.txt", "c.log"}) QFile(work.filePath(name)).open(QIODevice::WriteOnly);
  const auto codePage = posix::MakeCodePage(1252);
  QWidget owner;
  qttest::ScriptedRunner runner;
  const std::string folder = runner.Alias(work.path(), "%", *codePage);
  const posix::PosixHostPaths hostPaths(*codePage);
  qtui::QtSystemDialogs dialogs(&owner, runner, *codePage, hostPaths);

  qttest::ExpectTranscript("system_dialogs.txt", runner, [&](const QString& command, QString argument) {
    std::map<std::string, std::string> fields;  // "%" in a value is the test's folder, "_" a blank
    for (const QString& field : argument.split(' ', Qt::SkipEmptyParts)) {
      std::string value = field.section('=', 1).replace(QChar('_'), QChar(' ')).toStdString();
      if (value.starts_with('%')) value = folder + value.substr(1);
      fields[field.section('=', 0, 0).toStdString()] = value;
    }
    const auto number = [&](const char* key, uint32_t otherwise = 0) -> uint32_t {
      return fields.count(key) ? std::stoul(fields[key], nullptr, 0) : otherwise;
    };
    std::string file = fields["file"], title(260, '\0');
    std::string filter =
        fields.count("filter") ? fields["filter"] : "Text (*.txt;*.log)|*.txt;*.log|All Files (*.*)|*.*||";
    file.resize(260);
    std::replace(filter.begin(), filter.end(), '|', '\0');  // in a filter list "|" is a NUL
    int32_t result = 0;
    QString shown;
    const auto u16 = [&](const char* key) { return static_cast<uint16_t>(number(key)); };
    if (command == "open" || command == "save") {
      // maxfile counts from the folder's length; the texts at nFileOffset and nFileExtension are shown.
      platform::OPENFILENAMEA record{.lStructSize = sizeof(platform::OPENFILENAMEA),
                                     .hwndOwner = qtui::kMainWindowHandle,
                                     .lpstrFilter = filter.c_str(),
                                     .nFilterIndex = number("index", 1),
                                     .lpstrFile = file.data(),
                                     .nMaxFile = static_cast<uint32_t>(
                                         fields.count("maxfile") ? folder.size() + number("maxfile") : 260),
                                     .lpstrFileTitle = title.data(),
                                     .nMaxFileTitle = number("maxtitle", 260),
                                     .lpstrInitialDir = fields["dir"].c_str(),
                                     .lpstrTitle = "Pick",
                                     .Flags = number("flags"),
                                     .lpstrDefExt = fields["defext"].c_str()};
      result = command == "save" ? dialogs.GetSaveFileNameA(record) : dialogs.GetOpenFileNameA(record);
      file.resize(file.find(std::string(2, '\0')));
      const auto at = [&](std::size_t offset) {
        return QString::fromStdString(file.substr(std::min(offset, file.size()))).replace(QChar(0), '|');
      };
      shown = QString::asprintf("file=%s title=%s index=%u flags=0x%x at-offset=%s at-ext=%s",
                                qPrintable(at(0)), title.c_str(), record.nFilterIndex, record.Flags,
                                qPrintable(at(record.nFileOffset)), qPrintable(at(record.nFileExtension)));
    } else if (command == "colour") {
      std::array<uint32_t, 16> custom{0, 0, 0, number("custom3")};  // COLORREF 0x00BBGGRR
      platform::CHOOSECOLORA record{
          .hwndOwner = qtui::kMainWindowHandle, .rgbResult = number("rgb"), .lpCustColors = custom.data()};
      result = dialogs.ChooseColorA(record);
      shown = QString::asprintf("rgb=0x%x custom3=0x%x", record.rgbResult, custom[3]);
    } else if (command == "font") {
      platform::LOGFONTA font{.lfHeight = static_cast<int32_t>(number("height")),
                              .lfWeight = static_cast<int32_t>(number("weight")),
                              .lfItalic = static_cast<uint8_t>(number("italic")),
                              .lfCharSet = static_cast<uint8_t>(number("charset"))};
      std::strncpy(font.lfFaceName, fields["face"].c_str(), sizeof font.lfFaceName - 1);
      platform::CHOOSEFONTA record{
          .hwndOwner = qtui::kMainWindowHandle, .lpLogFont = &font, .Flags = number("flags")};
      result = dialogs.ChooseFontA(record);
      shown = QString::asprintf(
          "height=%d weight=%d italic=%d underline=%d strikeout=%d charset=%d face=%s points=%g "
          "flags=0x%x",
          font.lfHeight, font.lfWeight, font.lfItalic, font.lfUnderline, font.lfStrikeOut, font.lfCharSet,
          font.lfFaceName, record.iPointSize / 10.0, record.Flags);
    } else if (command == "print") {
      platform::PRINTDLGA record{.hwndOwner = qtui::kMainWindowHandle,
                                 .Flags = number("flags"),
                                 .nFromPage = u16("from"),
                                 .nToPage = u16("to"),
                                 .nMinPage = u16("min"),
                                 .nMaxPage = u16("max"),
                                 .nCopies = u16("copies")};
      result = dialogs.PrintDlgA(record);
      shown = QString::asprintf("copies=%d pages=%d-%d flags=0x%x context=%s dots-per-inch-known=%d",
                                record.nCopies, record.nFromPage, record.nToPage, record.Flags,
                                record.hDC == 0                          ? "none"
                                : dialogs.Printer(record.hDC) != nullptr ? "printer"
                                                                         : "other",
                                dialogs.GetDeviceCaps(record.hDC, platform::kLogPixelsY) > 0);
    } else if (command == "help") {
      Viewer viewer;
      QDesktopServices::setUrlHandler("file", &viewer, "setSource");
      result = dialogs.WinHelpA(qtui::kMainWindowHandle, fields["file"].c_str(), number("command"), 0);
      QDesktopServices::unsetUrlHandler("file");
      shown = "opened=[" + viewer.opened.remove("file://") + ']';
    } else {
      EXPECT_EQ(command, "caps");
      result = dialogs.GetDeviceCaps(fields["context"] == "screen" ? qtui::kScreenDc : number("context"),
                                     platform::kLogPixelsY);
    }
    return QStringList{(QString("result %1 ").arg(result) + shown).trimmed()};
  });
}

}  // namespace
