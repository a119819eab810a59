// Saved control settings as text in the form-file property syntax, and a property bag kept as that text.
//
//   Filter          =   "Project Files (*.vbp)|*.vbp"
//   FontSize        =   8
//   PrinterDefault  =   -1
//
// One property a line: a name (letters, digits, '_'), '=', and a value: a String in double quotes with
// inner quotes doubled, or a bare signed decimal Long. Booleans are saved as the Longs -1 and 0. Blank
// lines are skipped; lines end in CR LF, LF or CR. Names compare without regard to case (ASCII).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control_container.h"

namespace cmndlg {

// Error number of text that cannot be read as saved settings, or a value that cannot be written as such.
inline constexpr int32_t kInvalidPropertyValue = 380;

struct SavedProperty {
  std::string name;
  platform::PropertyValue value;  // int32_t or std::string after parsing
};

// Throws platform::RaisedError(kInvalidPropertyValue) naming the line for a malformed line, a number outside
// 32 bits or a name given twice.
std::vector<SavedProperty> ParsePropertyText(std::string_view text);
// One line a property, each ended by CR LF; a Boolean is written as its Long. Throws
// platform::RaisedError(kInvalidPropertyValue) for a name that is not a plain name or a String holding CR or
// LF.
std::string FormatPropertyText(const std::vector<SavedProperty>& properties);

// A bag holding its properties in order; WriteProperty leaves out values equal to their default (and
// removes what was saved before under that name), so the text holds only what differs from defaults.
class TextPropertyBag : public platform::PropertyBag {
 public:
  TextPropertyBag() = default;
  explicit TextPropertyBag(std::string_view text) : properties_(ParsePropertyText(text)) {}

  platform::PropertyValue ReadProperty(const std::string& name,
                                       const platform::PropertyValue& defaultValue) override;
  // Throws as FormatPropertyText would, before changing anything.
  void WriteProperty(const std::string& name, const platform::PropertyValue& value,
                     const platform::PropertyValue& defaultValue) override;

  std::string Text() const { return FormatPropertyText(properties_); }

 private:
  std::vector<SavedProperty> properties_;
};

}  // namespace cmndlg
