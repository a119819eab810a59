#include <cctype>

#include "base/hex_number.h"
#include "deps/dependency.h"
#include "platform/errors.h"
#include "project/mdl_file.h"
#include "project/mdl_trim.h"

namespace deps {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

std::string_view Unquoted(std::string_view text) {
  text = Trimmed(text);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t at = 0;
  for (std::size_t cut; (cut = text.find(separator, at)) != std::string_view::npos; at = cut + 1) {
    parts.push_back(text.substr(at, cut - at));
  }
  parts.push_back(text.substr(at));
  return parts;
}

bool IsGuid(std::string_view text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? text[i] != '-' : !std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// "{GUID}#MAJOR.MINOR#LCID" into the dependency; false when it does not read so.
bool ReadIdentity(std::string_view guid, std::string_view version, std::string_view lcid,
                  Dependency& dependency) {
  if (!IsGuid(guid)) return false;
  dependency.guid = Upper(guid);
  const auto dot = version.find('.');
  if (dot == std::string_view::npos) return false;
  const auto major = base::HexNumber(version.substr(0, dot));
  const auto minor = base::HexNumber(version.substr(dot + 1));
  const auto locale = base::HexNumber(lcid);
  if (!major || !minor || !locale || *major > 0xFFFF || *minor > 0xFFFF) return false;
  dependency.version = Version{static_cast<uint16_t>(*major), static_cast<uint16_t>(*minor)};
  dependency.lcid = *locale;
  return true;
}

// A Reference= value: *\G{GUID}#MAJ.MIN#LCID#PATH#DESCRIPTION (one more field at times), or *\A PATH.
Dependency ReadReference(std::string_view value) {
  Dependency dependency;
  if (value.starts_with("*\\A") || value.starts_with("*\\a")) {
    dependency.kind = Kind::ProjectReference;
    dependency.name = std::string(value.substr(3));
    return dependency;
  }
  dependency.kind = Kind::Reference;
  if (!value.starts_with("*\\G") && !value.starts_with("*\\g")) {
    dependency.malformed = true;
    dependency.name = std::string(value);
    return dependency;
  }
  const auto fields = Split(value.substr(3), '#');
  if (fields.size() >= 4) dependency.name = std::string(fields[3]);
  if (fields.size() >= 5) dependency.description = std::string(fields[4]);
  dependency.malformed = fields.size() < 4 || !ReadIdentity(fields[0], fields[1], fields[2], dependency);
  return dependency;
}

// What follows "Object=" in the project file or "Object =" in a header: the identity and the file, or
// a project, or a ProgID and the file.
Dependency ReadObject(std::string_view identity, std::string_view file, Kind kind) {
  Dependency dependency;
  if (identity.starts_with("*\\A") || identity.starts_with("*\\a")) {
    dependency.kind = Kind::ProjectReference;
    dependency.name = std::string(identity.substr(3));
    return dependency;
  }
  dependency.kind = kind;
  dependency.name = std::string(file);
  if (identity.starts_with("{")) {
    const auto fields = Split(identity, '#');
    dependency.malformed = fields.size() != 3 || !ReadIdentity(fields[0], fields[1], fields[2], dependency);
  } else {
    dependency.description = std::string(identity);  // a ProgID
    dependency.malformed = identity.empty();
  }
  return dependency;
}

bool HasHeaderObjects(int32_t kind) {
  return kind == mdlFile::kindForm || kind == mdlFile::kindMdiForm || kind == mdlFile::kindUserControl ||
         kind == mdlFile::kindPropertyPage || kind == mdlFile::kindUserDocument ||
         kind == mdlFile::kindDesigner;
}

// The Object lines of a component's header: every line before the first "Begin".
void ReadHeader(const std::string& path, platform::TextFiles& files, std::vector<Dependency>& out) {
  std::unique_ptr<platform::InputFile> input;
  try {
    input = files.OpenInput(path);
  } catch (const platform::FileError&) {
    return;
  }
  constexpr std::size_t kBuffer = 16 * 1024;
  // A header is a few lines; a file without "Begin" is not read past this.
  constexpr std::size_t kLongest = 1 << 20;
  std::string text;
  std::string buffer(kBuffer, '\0');
  int64_t number = 0;
  std::size_t at = 0;
  try {
    for (;;) {
      std::size_t end = text.find('\n', at);
      if (end == std::string::npos) {
        if (text.size() >= kLongest) return;
        const std::size_t got = input->Read(buffer.data(), buffer.size());
        if (got == 0) {
          if (at >= text.size()) return;
          end = text.size();
        } else {
          text.append(buffer.data(), got);
          continue;
        }
      }
      ++number;
      const std::string_view line = Trimmed(std::string_view(text).substr(at, end - at));
      at = end + 1;
      const std::string lower = mdlTrim::LowerAscii(line.substr(0, 6));
      if (lower == "begin" || lower == "begin ") return;
      const auto eq = line.find('=');
      if (eq == std::string_view::npos || mdlTrim::LowerAscii(Trimmed(line.substr(0, eq))) != "object")
        continue;
      const std::string_view value = line.substr(eq + 1);
      const auto semicolon = value.find(';');
      Dependency dependency = ReadObject(
          Unquoted(value.substr(0, semicolon)),
          semicolon == std::string_view::npos ? std::string_view() : Unquoted(value.substr(semicolon + 1)),
          Kind::ComponentObject);
      dependency.file = path;
      dependency.line = number;
      out.push_back(std::move(dependency));
    }
  } catch (const platform::FileError&) {
  }
}

}  // namespace

std::string_view KindName(Kind kind) {
  switch (kind) {
    case Kind::Reference:
      return "reference";
    case Kind::ProjectReference:
      return "project-reference";
    case Kind::Object:
      return "object";
    case Kind::ComponentObject:
      return "component-object";
    case Kind::ResourceFile:
      return "resource-file";
    case Kind::RelatedDocument:
      return "related-document";
    case Kind::CompatibilityFile:
      return "compatibility-file";
  }
  return "reference";
}

std::string VersionText(Version version) {
  // Written out by hand: this is asked for every dependency's text, where a formatted print costs more
  // than the rest of its resolution.
  const auto hex = [](std::string& out, uint16_t value) {
    constexpr char kDigits[] = "0123456789abcdef";
    int shift = 12;
    while (shift > 0 && (value >> shift) == 0) shift -= 4;
    for (; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
  };
  std::string text;
  hex(text, version.major);
  text += '.';
  hex(text, version.minor);
  return text;
}

std::string FullPath(const mdlFile::ProjectModel& model, std::string_view path) {
  const bool absolute = (path.size() >= 2 && path[1] == ':') || path.starts_with("\\\\");
  if (absolute) return std::string(path);
  const std::string folder = mdlTrim::TextBeforeLast(model.filePath, '\\');
  if (path.starts_with("\\")) return folder.substr(0, 2) + std::string(path);
  return folder + "\\" + std::string(path);
}

std::vector<Dependency> ReadDependencies(const mdlFile::ProjectModel& model, platform::TextFiles& files) {
  std::vector<Dependency> out;
  bool compatible = false;
  for (const auto& line : model.lines) {
    if (line.key == "compatiblemode")
      compatible = Unquoted(line.value) != "0" && !Unquoted(line.value).empty();
  }
  for (const auto& line : model.lines) {
    const std::string_view value = Trimmed(line.value);
    Dependency dependency;
    if (line.key == "reference") {
      dependency = ReadReference(value);
    } else if (line.key == "object") {
      const auto semicolon = value.find(';');
      dependency = ReadObject(
          Trimmed(value.substr(0, semicolon)),
          semicolon == std::string_view::npos ? std::string_view() : Trimmed(value.substr(semicolon + 1)),
          Kind::Object);
    } else if (line.key == "resfile32") {
      dependency.kind = Kind::ResourceFile;
      dependency.name = std::string(Unquoted(value));
    } else if (line.key == "relateddoc") {
      dependency.kind = Kind::RelatedDocument;
      dependency.name = std::string(Unquoted(value));
    } else if (line.key == "compatibleexe32" && compatible) {
      dependency.kind = Kind::CompatibilityFile;
      dependency.name = std::string(Unquoted(value));
    } else {
      continue;
    }
    if (dependency.name.empty() && dependency.kind != Kind::Reference && dependency.kind != Kind::Object)
      continue;
    dependency.file = model.filePath;
    dependency.line = line.number;
    out.push_back(std::move(dependency));
  }
  for (const auto& component : model.components) {
    if (HasHeaderObjects(component.kind) && !component.path.empty()) {
      ReadHeader(mdlFile::ComponentFilePath(model, component.path), files, out);
    }
  }
  return out;
}

}  // namespace deps
