// The control's cases, kept as scripts under tests/data/cmndlg. Each script is a list of commands; under
// each command, indented by two spaces, is what it must give: the calls the container, property bag and
// system dialogs saw (requests field by field), "raised N" for an error, and "> Name = value" for each
// property or result that changed. Lines starting with "|" continue a command's text, one line each.
//
//   case TITLE               a new control on a new container, nothing called yet
//   init | load | save       InitProperties; ReadProperties of the text; WriteProperties, then the text
//   settings                 ReadProperties of the main window's settings
//   set                      the properties in the text, through the setters, silently
//   do N                     setAction(N)
//   hwnd N                   the owner window the container hands out from now on
//   answer CALL RESULT W...  how the system answers CALL from now on (see ScriptedDialogs::Answer)
//   fail ENTRY [N]           the N-th call from now (the first if no N) that the log shows starting with
//                            ENTRY fails, once; none fails nothing
//   resize X Y               Resize with X by Y twips a pixel
//   parse                    the text parsed, then formatted again
//   write NAME = V [(D)]     into one bag kept for the case, then its text
//   convert Long|Boolean|Text V, muldiv A B C, icon
// Texts are escaped as fakes::Escaped shows bytes; a command is split at blanks, so a space in its text is
// written {20}.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "cmndlg/cmn_dlg.h"
#include "cmndlg/image_icon.h"
#include "cmndlg/main_window_settings.h"
#include "cmndlg/mul_div.h"
#include "cmndlg/property_conversion.h"
#include "platform/errors.h"
#include "tests/fakes/recording_container.h"
#include "tests/fakes/scripted_dialogs.h"
#include "tests/fakes/table_file.h"

namespace {

using platform::PropertyValue;

std::string Hex(std::string_view bytes) {
  std::string text;
  for (unsigned char byte : bytes)
    text += "0123456789ABCDEF"[byte >> 4], text += "0123456789ABCDEF"[byte & 15];
  return text;
}

PropertyValue Value(const std::string& text) {
  if (text == "True" || text == "False") return int16_t(text == "True" ? -1 : 0);
  if (text.starts_with('"')) return fakes::Unescaped(text.substr(1, text.size() - 2));
  return int32_t(std::stol(text));
}

class Case {
 public:
  // What the command gave, a line each, indented as the script writes it.
  std::string Run(const std::string& line, const std::string& text) {
    std::istringstream in(line);
    const std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
    const std::string& command = words.at(0);
    const auto before = fakes::State(dlg_);
    try {
      Do(words, text);
    } catch (const platform::RaisedError& error) {
      container_.log.push_back("raised " + std::to_string(error.Number()));
    }
    std::string out;
    for (const std::string& entry : container_.log) out += "  " + entry + "\n";
    container_.log.clear();
    const auto after = fakes::State(dlg_);
    for (size_t i = 0; i < after.size() && command != "set"; ++i) {
      if (after[i] != before[i]) out += "  > " + after[i].first + " = " + after[i].second + "\n";
    }
    return out;
  }

 private:
  // A property text's lines, after "| ".
  void Lines(const std::string& text) {
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
      container_.log.push_back("| " + fakes::Escaped(text.substr(at, end - at)));
    }
  }

  void Do(const std::vector<std::string>& words, const std::string& text) {
    const std::string& command = words[0];
    const auto word = [&](size_t i) { return i < words.size() ? words[i] : ""; };
    auto& log = container_.log;
    if (command == "init") {
      dlg_.InitProperties();
    } else if (command == "load" || command == "settings" || command == "save") {
      fakes::RecordingBag bag(container_, command == "settings" ? cmndlg::MainWindowSettings() : text);
      if (command != "save") {
        dlg_.ReadProperties(bag);
      } else {
        dlg_.WriteProperties(bag);
        Lines(bag.bag.Text());
      }
    } else if (command == "set") {
      cmndlg::TextPropertyBag bag;
      dlg_.WriteProperties(bag);
      // Parsed values are never Booleans, so none equals the default given and each is kept.
      for (const auto& p : cmndlg::ParsePropertyText(text)) bag.WriteProperty(p.name, p.value, int16_t{0});
      dlg_.ReadProperties(bag);
      log.clear();
    } else if (command == "hwnd") {
      container_.hwnd = std::stoi(word(1));
    } else if (command == "do") {
      dlg_.setAction(std::stoi(word(1)));
    } else if (command == "answer") {
      dialogs_.Answer(word(1), std::stoi(word(2)), {words.begin() + 3, words.end()});
    } else if (command == "fail") {
      container_.failing = fakes::Unescaped(word(1));
      container_.failIn = word(1) == "none" ? 0 : word(2).empty() ? 1 : std::stoi(word(2));
    } else if (command == "resize") {
      container_.twipsPerPixelX = std::stof(word(1));
      container_.twipsPerPixelY = std::stof(word(2));
      dlg_.Resize();
      log.push_back("width " + std::to_string(int(container_.width)) + " height " +
                    std::to_string(int(container_.height)));
    } else if (command == "parse") {
      Lines(cmndlg::FormatPropertyText(cmndlg::ParsePropertyText(text)));
    } else if (command == "write") {
      const std::string name = word(1), fallback = word(4);
      // Without a default, one that no value here equals.
      written_.WriteProperty(name.starts_with('"') ? fakes::Unescaped(name.substr(1, name.size() - 2)) : name,
                             Value(word(3)),
                             fallback.empty() ? int16_t{2} : Value(fallback.substr(1, fallback.size() - 2)));
      Lines(written_.Text());
    } else if (command == "convert") {
      const PropertyValue value = Value(word(2));
      log.push_back(word(1) == "Long"      ? std::to_string(cmndlg::ToLong(value))
                    : word(1) == "Boolean" ? fakes::Shown(int16_t(cmndlg::ToBoolean(value)))
                                           : fakes::Shown(cmndlg::ToText(value)));
    } else if (command == "icon") {  // the picture row by row, then the .ico file's bytes, 16 a line
      for (std::string_view row : cmndlg::ImageIconRows()) log.emplace_back(row);
      const std::string file = cmndlg::ImageIconFile();
      for (size_t at = 0; at < file.size(); at += 16) log.push_back(Hex(file.substr(at, 16)));
    } else if (command == "muldiv") {
      log.push_back(
          std::to_string(cmndlg::MulDiv(std::stoi(word(1)), std::stoi(word(2)), std::stoi(word(3)))));
    } else {
      FAIL() << "unknown command " << command;
    }
  }

  fakes::RecordingContainer container_;
  fakes::ScriptedDialogs dialogs_{container_.log};
  cmndlg::CmnDlg dlg_{container_, dialogs_};
  cmndlg::TextPropertyBag written_;
};

class CmnDlgCases : public ::testing::TestWithParam<std::string> {};

TEST_P(CmnDlgCases, GiveWhatTheScriptSays) {
  std::vector<std::string> lines;
  // No line holds a line break, so each is read whole.
  for (const fakes::Row& row : fakes::ReadTable("cmndlg/" + GetParam(), "\n")) lines.push_back(row[0]);
  std::unique_ptr<Case> current;
  for (size_t i = 0; i < lines.size();) {
    const std::string line = lines[i++];
    std::string text, expected;
    for (; i < lines.size() && lines[i].starts_with('|'); ++i) {
      text += fakes::Unescaped(lines[i].substr(std::min<size_t>(2, lines[i].size()))) + "\r\n";
    }
    for (; i < lines.size() && lines[i].starts_with("  "); ++i) expected += lines[i] + "\n";
    if (line.starts_with("case ")) {
      current = std::make_unique<Case>();
      continue;
    }
    ASSERT_TRUE(current) << "a command before the first case";
    EXPECT_EQ(current->Run(line, text), expected) << GetParam() << ": " << line;
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, CmnDlgCases,
                         ::testing::Values("file_dialogs.txt", "other_dialogs.txt", "saved_properties.txt",
                                           "property_text.txt", "face.txt"));

}  // namespace
