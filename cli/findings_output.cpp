#include "cli/findings_output.h"

#include "cli/console.h"
#include "cli/tree_json.h"
#include "project/mdl_trim.h"

namespace cli {

PathShower::PathShower(std::string argument, const std::string& givenFile, const platform::CodePage& codePage)
    : argument_(std::move(argument)),
      givenFile_(givenFile),
      folder_(mdlTrim::TextBeforeLast(givenFile, '\\') + "\\"),
      codePage_(codePage) {}

std::string PathShower::operator()(const std::string& file) const {
  if (file == givenFile_) return argument_;
  if (file.compare(0, folder_.size(), folder_) != 0) return codePage_.ToUtf8(file);
  const auto cut = argument_.find_last_of(kArgumentSeparators);
  const std::string folder = cut == std::string::npos ? std::string() : argument_.substr(0, cut + 1);
  return folder + HostSpelling(codePage_.ToUtf8(std::string_view(file).substr(folder_.size())));
}

std::string FindingsText(const std::vector<check::Finding>& findings, const PathShower& shown,
                         const platform::CodePage& codePage) {
  std::string out;
  for (const auto& finding : findings) {
    out += shown(finding.file) + ":" + std::to_string(finding.line) + ": " +
           std::string(check::SeverityName(finding.severity)) + ": " + codePage.ToUtf8(finding.text) + " [" +
           finding.code + "]\n";
  }
  return out;
}

std::string FindingsJson(const std::vector<check::Finding>& findings, const PathShower& shown,
                         const platform::CodePage& codePage) {
  std::string out = "[";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const auto& finding = findings[i];
    out += i == 0 ? "\n  {\"file\": " : ",\n  {\"file\": ";
    AppendJsonString(out, shown(finding.file));
    out += ", \"line\": " + std::to_string(finding.line) + ", \"severity\": ";
    AppendJsonString(out, std::string(check::SeverityName(finding.severity)));
    out += ", \"code\": ";
    AppendJsonString(out, finding.code);
    out += ", \"text\": ";
    AppendJsonString(out, codePage.ToUtf8(finding.text));
    out += "}";
  }
  out += findings.empty() ? "]\n" : "\n]\n";
  return out;
}

}  // namespace cli
