// The 27 saved values of a control, read through its getters, to compare two controls.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "cmndlg/cmn_dlg.h"

namespace fuzz {

using SavedValue = std::variant<int32_t, int16_t, std::string>;

inline std::vector<SavedValue> SavedValues(const cmndlg::CmnDlg& c) {
  return {c.Color(),       c.Copies(),         c.DefaultExt(),
          c.DialogTitle(), c.FileName(),       c.Filter(),
          c.FilterIndex(), c.flags(),          c.FontBold(),
          c.FontCharset(), c.FontItalic(),     c.FontName(),
          c.FontSize(),    c.FontStrikeThru(), c.FontUnderline(),
          c.FromPage(),    c.HelpCommand(),    c.HelpContext(),
          c.HelpFile(),    c.HelpKey(),        c.InitDir(),
          c.Max(),         c.MaxFileSize(),    c.Min(),
          c.Orientation(), c.PrinterDefault(), c.ToPage()};
}

// Every property a dialog can write, the saved ones and the results.
inline std::vector<SavedValue> AllValues(const cmndlg::CmnDlg& c) {
  std::vector<SavedValue> values = SavedValues(c);
  values.push_back(c.FileTitle());
  values.push_back(c.hdc());
  values.push_back(c.LastError());
  return values;
}

}  // namespace fuzz
