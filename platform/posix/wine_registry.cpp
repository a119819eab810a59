#include "platform/posix/wine_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "base/ascii_case.h"
#include "base/hex_number.h"
namespace posix {

namespace {

// Whether text starts with prefix (lower case) without regard to ASCII case.
bool StartsFolded(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (base::LowerAsciiChar(text[i]) != prefix[i]) return false;
  }
  return true;
}

// A key or string as the registry file escapes it: "\\" for "\", "\"" for a quote, \xHHHH for a UTF-16
// unit beyond ASCII (kept as "?", as the code page could not spell most of them anyway).
std::string Unescaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    if (next == 'x') {
      std::size_t end = i + 1;
      while (end < text.size() && end < i + 5 && std::isxdigit(static_cast<unsigned char>(text[end]))) ++end;
      const auto unit = base::HexNumber(text.substr(i + 1, end - i - 1));
      out += unit && *unit < 0x80 ? static_cast<char>(*unit) : '?';
      i = end - 1;
    } else if (next == 'n') {
      out += '\n';
    } else if (next == 'r') {
      out += '\r';
    } else if (next == 't') {
      out += '\t';
    } else if (next == '0') {
      out += '\0';
    } else {
      out += next;
    }
  }
  return out;
}

// The value of "@=" as a string: "text", or str(N):"text" for the other string types.
// The folders an expandable path names through variables, as a Wine prefix sets them.
std::string Expanded(std::string text) {
  static constexpr std::pair<std::string_view, std::string_view> kVariables[] = {
      {"%systemroot%", "C:\\windows"},
      {"%windir%", "C:\\windows"},
      {"%programfiles%", "C:\\Program Files"},
      {"%commonprogramfiles%", "C:\\Program Files\\Common Files"},
  };
  for (const auto& [name, value] : kVariables) {
    for (std::size_t at = base::LowerAscii(text).find(name); at != std::string::npos;
         at = base::LowerAscii(text).find(name)) {
      text.replace(at, name.size(), value);
    }
  }
  return text;
}

// The value of "@=" as a string: "text", or str(N):"text" for the other string types (str(2), an
// expandable string, with its variables expanded).
std::optional<std::string> DefaultString(std::string_view value) {
  bool expandable = false;
  if (value.starts_with("str(")) {
    const auto colon = value.find("):");
    if (colon == std::string_view::npos) return std::nullopt;
    expandable = value.substr(4, colon - 4) == "2";
    value.remove_prefix(colon + 2);
  }
  if (value.size() < 2 || value.front() != '"') return std::nullopt;
  // The closing quote is the last one: quotes inside are escaped.
  const auto close = value.rfind('"');
  if (close == 0) return std::nullopt;
  std::string text = Unescaped(value.substr(1, close - 1));
  return expandable ? Expanded(std::move(text)) : text;
}

// The four parts of text between separators, or nothing when there are more or fewer.
std::optional<std::array<std::string_view, 4>> SplitFour(std::string_view text, char separator) {
  std::array<std::string_view, 4> parts;
  std::size_t at = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t cut = text.find(separator, at);
    if (cut == std::string_view::npos) return std::nullopt;
    parts[i] = text.substr(at, cut - at);
    at = cut + 1;
  }
  parts[3] = text.substr(at);
  if (parts[3].find(separator) != std::string_view::npos) return std::nullopt;
  return parts;
}

// Bytes read and not yet scanned; left uninitialised, as every byte is read before it is looked at.
struct ReadBuffer {
  explicit ReadBuffer(std::size_t initial)
      : bytes(std::make_unique_for_overwrite<char[]>(initial)), size(initial) {}
  // Twice the size, keeping the first held bytes.
  void Grow(std::size_t held) {
    auto larger = std::make_unique_for_overwrite<char[]>(size * 2);
    std::memcpy(larger.get(), bytes.get(), held);
    bytes = std::move(larger);
    size *= 2;
  }
  std::unique_ptr<char[]> bytes;
  std::size_t size;
};

// The file read as cat reads it, a buffer at a time, each buffer's whole lines scanned as they come: the
// bytes are passed over once and never copied whole. false when the file cannot be read.
bool ScanFile(const std::filesystem::path& path, WineRegistry& registry, bool user, ReadBuffer& buffer) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  registry.EndText();
  std::size_t held = 0;  // bytes of a line not yet ended, at the buffer's start
  ssize_t got = 0;
  for (;;) {
    // A line longer than the buffer (a long value) grows it.
    if (held == buffer.size) buffer.Grow(held);
    got = ::read(fd, buffer.bytes.get() + held, buffer.size - held);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    const std::size_t filled = held + static_cast<std::size_t>(got);
    std::size_t lines = filled;
    while (lines > 0 && buffer.bytes[lines - 1] != '\n') --lines;
    registry.AddLines(std::string_view(buffer.bytes.get(), lines), user);
    held = filled - lines;
    std::memmove(buffer.bytes.get(), buffer.bytes.get() + lines, held);
  }
  ::close(fd);
  if (got == 0) registry.AddLines(std::string_view(buffer.bytes.get(), held), user);
  registry.EndText();
  if (got != 0) registry.Forget(user);
  return got == 0;
}

constexpr std::string_view kTypeLibKey = "software\\classes\\typelib\\";
constexpr std::string_view kEscapedTypeLibKey = "software\\\\classes\\\\typelib\\\\";

// Whether a section line (after its "[") names a TypeLib key. Most keys of a prefix are other classes
// (CLSID, Interface): the letters where "Typelib" stands tell them apart at once.
bool IsTypeLibKeyLine(std::string_view line) {
  constexpr std::size_t kTypeLibAt = kEscapedTypeLibKey.size() - 9;  // "typelib\\\\"
  return line.size() > kTypeLibAt + 1 && base::LowerAsciiChar(line[kTypeLibAt]) == 't' &&
         base::LowerAsciiChar(line[kTypeLibAt + 1]) == 'y' && StartsFolded(line, kEscapedTypeLibKey);
}

}  // namespace

void WineRegistry::AddText(std::string_view text, bool user) {
  EndText();
  AddLines(text, user);
  EndText();
}

void WineRegistry::AddLines(std::string_view text, bool user) {
  platform::TypeLibRegistration*& current = current_;
  bool& win64 = win64_;
  std::size_t at = 0;
  while (at < text.size()) {
    // Outside a TypeLib key only the next TypeLib key's line matters: most of a prefix's registry is passed
    // over at the speed of a memory search, each other key's line looked at only for its first characters.
    if (current == nullptr) {
      // "[" is rare but for section lines, so looking for it alone is the fast search.
      for (;;) {
        const void* next = std::memchr(text.data() + at, '[', text.size() - at);
        if (next == nullptr) return;
        const auto open = static_cast<std::size_t>(static_cast<const char*>(next) - text.data());
        at = open + 1;
        // Wine writes each "\\" of a key doubled: the escaped prefix is compared before anything is
        // unescaped.
        if ((open == 0 || text[open - 1] == '\n') && IsTypeLibKeyLine(text.substr(at))) {
          at = open;
          break;
        }
      }
    }
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (line[0] == '[') {
      current = nullptr;
      // Wine writes each "\\" of a key doubled: the escaped prefix is compared before anything is unescaped.
      if (!StartsFolded(line.substr(1), kEscapedTypeLibKey)) continue;
      const auto close = line.rfind(']');
      if (close == std::string_view::npos) continue;
      std::string key = Unescaped(line.substr(1, close - 1));
      for (char& c : key) c = base::LowerAsciiChar(c);
      if (!key.starts_with(kTypeLibKey)) continue;
      // {guid}\<major>.<minor>\<lcid>\win32 or win64
      const auto split = SplitFour(std::string_view(key).substr(kTypeLibKey.size()), '\\');
      if (!split || ((*split)[3] != "win32" && (*split)[3] != "win64")) continue;
      const auto& parts = *split;
      const auto dot = parts[1].find('.');
      if (dot == std::string_view::npos) continue;
      const auto major = base::HexNumber(parts[1].substr(0, dot));
      const auto minor = base::HexNumber(parts[1].substr(dot + 1));
      const auto lcid = base::HexNumber(parts[2]);
      if (!major || !minor || !lcid || *major > 0xFFFF || *minor > 0xFFFF) continue;
      auto known = byGuid_.find(parts[0]);
      if (known == byGuid_.end()) known = byGuid_.emplace(std::string(parts[0]), Registered{}).first;
      auto& list = known->second;
      for (auto& known : list) {
        if (known.major == *major && known.minor == *minor && known.lcid == *lcid && known.user == user) {
          current = &known;
        }
      }
      if (current == nullptr) {
        current = &list.emplace_back();
        current->major = static_cast<uint16_t>(*major);
        current->minor = static_cast<uint16_t>(*minor);
        current->lcid = *lcid;
        current->user = user;
      }
      win64 = parts[3] == "win64";
    } else if (current != nullptr && line.starts_with("@=")) {
      if (auto path = DefaultString(line.substr(2)))
        (win64 ? current->win64 : current->win32) = std::move(*path);
    }
  }
}

void WineRegistry::Forget(bool user) {
  current_ = nullptr;
  for (auto& [guid, list] : byGuid_)
    std::erase_if(list, [user](const auto& known) { return known.user == user; });
}

std::vector<platform::TypeLibRegistration> WineRegistry::Registrations(const std::string& guid) {
  std::vector<platform::TypeLibRegistration> registered;
  const auto found = byGuid_.find(base::LowerAscii(guid));
  if (found == byGuid_.end()) return registered;
  // A key without a path registers nothing.
  for (const auto& registration : found->second) {
    if (registration.win32 || registration.win64) registered.push_back(registration);
  }
  return registered;
}

std::optional<std::string> ChoosePrefix(const std::optional<std::string>& given) {
  if (given) return given;
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') return prefix;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    std::error_code error;
    const auto wine = std::filesystem::path(home) / ".wine";
    if (std::filesystem::is_directory(wine, error)) return wine.string();
  }
  return std::nullopt;
}

OpenedRegistry OpenWineRegistry(const std::string& prefix) {
  const std::filesystem::path folder(prefix);
  auto registry = std::make_unique<WineRegistry>("the Wine prefix " + prefix);
  // As much at a time as cat reads: each read is a system call, and a few large ones pass the bytes sooner.
  ReadBuffer buffer(128 * 1024);
  // The user's keys are read last, so that where both name a version the user's wins, as in the
  // classes root.
  const bool machine = ScanFile(folder / "system.reg", *registry, false, buffer);
  const bool user = ScanFile(folder / "user.reg", *registry, true, buffer);
  if (!machine && !user) return {nullptr, "cannot read the registry files of the Wine prefix " + prefix};
  return {std::move(registry), {}};
}

}  // namespace posix
