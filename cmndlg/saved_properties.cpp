// The 27 saved properties: creation values, loading and saving, all in the interface's order.
#include <array>
#include <variant>

#include "cmndlg/cmn_dlg.h"
#include "cmndlg/property_conversion.h"

namespace cmndlg {

namespace {

struct LongProperty {
  int32_t (CmnDlg::*get)() const;
  void (CmnDlg::*set)(int32_t);
  int32_t initial;
};
struct BooleanProperty {
  int16_t (CmnDlg::*get)() const;
  void (CmnDlg::*set)(int16_t);
  int16_t initial;
};
struct StringProperty {
  std::string (CmnDlg::*get)() const;
  void (CmnDlg::*set)(const std::string&);
};

// The creation value is also the default passed with the key, when loading and when saving.
struct SavedProperty {
  const char* key;
  std::variant<LongProperty, BooleanProperty, StringProperty> access;
};

const std::array<SavedProperty, 27> kSavedProperties{{
    {"Color", LongProperty{&CmnDlg::Color, &CmnDlg::setColor, 0}},
    {"Copies", LongProperty{&CmnDlg::Copies, &CmnDlg::setCopies, 1}},
    {"DefaultExt", StringProperty{&CmnDlg::DefaultExt, &CmnDlg::setDefaultExt}},
    {"DialogTitle", StringProperty{&CmnDlg::DialogTitle, &CmnDlg::setDialogTitle}},
    {"FileName", StringProperty{&CmnDlg::FileName, &CmnDlg::setFileName}},
    {"Filter", StringProperty{&CmnDlg::Filter, &CmnDlg::setFilter}},
    {"FilterIndex", LongProperty{&CmnDlg::FilterIndex, &CmnDlg::setFilterIndex, 0}},
    {"Flags", LongProperty{&CmnDlg::flags, &CmnDlg::setFlags, 0}},
    {"FontBold", BooleanProperty{&CmnDlg::FontBold, &CmnDlg::setFontBold, vbFalse}},
    {"FontCharset", LongProperty{&CmnDlg::FontCharset, &CmnDlg::setFontCharset, 0}},
    {"FontItalic", BooleanProperty{&CmnDlg::FontItalic, &CmnDlg::setFontItalic, vbFalse}},
    {"FontName", StringProperty{&CmnDlg::FontName, &CmnDlg::setFontName}},
    {"FontSize", LongProperty{&CmnDlg::FontSize, &CmnDlg::setFontSize, 8}},
    {"FontStrikeThru", BooleanProperty{&CmnDlg::FontStrikeThru, &CmnDlg::setFontStrikeThru, vbFalse}},
    {"FontUnderline", BooleanProperty{&CmnDlg::FontUnderline, &CmnDlg::setFontUnderline, vbFalse}},
    {"FromPage", LongProperty{&CmnDlg::FromPage, &CmnDlg::setFromPage, 0}},
    {"HelpCommand", LongProperty{&CmnDlg::HelpCommand, &CmnDlg::setHelpCommand, 0}},
    {"HelpContext", LongProperty{&CmnDlg::HelpContext, &CmnDlg::setHelpContext, 0}},
    {"HelpFile", StringProperty{&CmnDlg::HelpFile, &CmnDlg::setHelpFile}},
    {"HelpKey", StringProperty{&CmnDlg::HelpKey, &CmnDlg::setHelpKey}},
    {"InitDir", StringProperty{&CmnDlg::InitDir, &CmnDlg::setInitDir}},
    {"Max", LongProperty{&CmnDlg::Max, &CmnDlg::setMax, 0}},
    {"MaxFileSize", LongProperty{&CmnDlg::MaxFileSize, &CmnDlg::setMaxFileSize, 260}},
    {"Min", LongProperty{&CmnDlg::Min, &CmnDlg::setMin, 0}},
    {"Orientation", LongProperty{&CmnDlg::Orientation, &CmnDlg::setOrientation, 1}},
    {"PrinterDefault", BooleanProperty{&CmnDlg::PrinterDefault, &CmnDlg::setPrinterDefault, vbTrue}},
    {"ToPage", LongProperty{&CmnDlg::ToPage, &CmnDlg::setToPage, 0}},
}};

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

void CmnDlg::InitProperties() {
  for (const SavedProperty& property : kSavedProperties) {
    std::visit(Overloaded{[this](const LongProperty& p) { (this->*p.set)(p.initial); },
                          [this](const BooleanProperty& p) { (this->*p.set)(p.initial); },
                          [this](const StringProperty& p) { (this->*p.set)(std::string()); }},
               property.access);
  }
}

void CmnDlg::ReadProperties(platform::PropertyBag& bag) {
  for (const SavedProperty& property : kSavedProperties) {
    std::visit(Overloaded{[&](const LongProperty& p) {
                            (this->*p.set)(ToLong(bag.ReadProperty(property.key, p.initial)));
                          },
                          [&](const BooleanProperty& p) {
                            (this->*p.set)(ToBoolean(bag.ReadProperty(property.key, p.initial)));
                          },
                          [&](const StringProperty& p) {
                            (this->*p.set)(ToText(bag.ReadProperty(property.key, std::string())));
                          }},
               property.access);
  }
}

void CmnDlg::WriteProperties(platform::PropertyBag& bag) const {
  for (const SavedProperty& property : kSavedProperties) {
    std::visit(
        Overloaded{
            [&](const LongProperty& p) { bag.WriteProperty(property.key, (this->*p.get)(), p.initial); },
            [&](const BooleanProperty& p) { bag.WriteProperty(property.key, (this->*p.get)(), p.initial); },
            [&](const StringProperty& p) {
              bag.WriteProperty(property.key, (this->*p.get)(), std::string());
            }},
        property.access);
  }
}

}  // namespace cmndlg
