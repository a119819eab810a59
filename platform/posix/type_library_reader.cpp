#include "platform/posix/type_library_reader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace posix {

namespace {

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  uint64_t size() const override { return bytes_.size(); }
  void Copy(uint64_t offset, std::size_t length, char* out) override {
    std::memcpy(out, bytes_.data() + offset, length);
  }

 private:
  std::string_view bytes_;
};

// A window of a source (the whole file, or one resource inside it) whose little-endian fields are read
// only where the window holds them.
class Bytes {
 public:
  Bytes(ByteSource& source, uint64_t base, uint64_t size) : source_(source), base_(base), size_(size) {}
  explicit Bytes(ByteSource& source) : Bytes(source, 0, source.size()) {}

  bool Has(uint64_t offset, uint64_t length) const { return offset <= size_ && length <= size_ - offset; }
  std::optional<uint32_t> U16(uint64_t offset) const { return Field(offset, 2); }
  std::optional<uint32_t> U32(uint64_t offset) const { return Field(offset, 4); }
  // length bytes (at most 16) at offset, which the caller has checked are there.
  std::array<unsigned char, 16> Raw(uint64_t offset, std::size_t length) const {
    std::array<unsigned char, 16> raw{};
    source_.Copy(base_ + offset, std::min(length, raw.size()), reinterpret_cast<char*>(raw.data()));
    return raw;
  }
  bool Starts(std::string_view magic) const {
    if (!Has(0, magic.size())) return false;
    const auto raw = Raw(0, magic.size());
    return std::memcmp(raw.data(), magic.data(), magic.size()) == 0;
  }
  Bytes Window(uint64_t offset, uint64_t length) const { return {source_, base_ + offset, length}; }

 private:
  std::optional<uint32_t> Field(uint64_t offset, unsigned length) const {
    if (!Has(offset, length)) return std::nullopt;
    const auto raw = Raw(offset, length);
    uint32_t value = 0;
    for (unsigned i = length; i-- > 0;) value = (value << 8) | raw[i];
    return value;
  }

  ByteSource& source_;
  uint64_t base_ = 0;
  uint64_t size_ = 0;
};

TypeLibRead Problem(std::string text) {
  return {std::nullopt, std::move(text)};
}

// A GUID as stored: three little-endian fields, then eight bytes in order.
std::string GuidText(const Bytes& bytes, uint64_t at) {
  char text[39];
  const auto tail = bytes.Raw(at + 8, 8);
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", *bytes.U32(at),
                *bytes.U16(at + 4), *bytes.U16(at + 6), tail[0], tail[1], tail[2], tail[3], tail[4], tail[5],
                tail[6], tail[7]);
  return text;
}

constexpr uint32_t kMsftHeader = 84;  // 21 fields
constexpr uint32_t kSegment = 16;     // offset, length, two reserved
constexpr uint32_t kGuidSegment = 5;  // the GUID table
constexpr uint32_t kHelpDllFlag = 0x100;

TypeLibRead ReadMsft(const Bytes& bytes) {
  if (!bytes.Has(0, kMsftHeader)) return Problem("the type library's header is cut short");
  const uint32_t posGuid = *bytes.U32(8);
  const uint32_t varFlags = *bytes.U32(20);
  const uint32_t version = *bytes.U32(24);
  const uint64_t typeInfos = *bytes.U32(32);
  const uint64_t segments = kMsftHeader + ((varFlags & kHelpDllFlag) ? 4 : 0) + typeInfos * 4;
  const uint64_t guidSegment = segments + kGuidSegment * kSegment;
  if (!bytes.Has(guidSegment, kSegment)) return Problem("the type library's segment table is out of range");
  const uint64_t tableOffset = *bytes.U32(guidSegment);
  const uint64_t tableLength = *bytes.U32(guidSegment + 4);
  if (!bytes.Has(tableOffset, tableLength)) return Problem("the type library's GUID table is out of range");
  if (posGuid > tableLength || tableLength - posGuid < 16) {
    return Problem("the type library's GUID is outside its GUID table");
  }
  return {platform::TypeLibIdentity{GuidText(bytes, tableOffset + posGuid),
                                    static_cast<uint16_t>(version & 0xFFFF),
                                    static_cast<uint16_t>(version >> 16)},
          {}};
}

// The SLTG form: a header, one entry per block (length, index string, next), then name tables and the
// blocks in the order their chain links them. The library block (magic 0x51CC) ends the chain and names
// the library's version and GUID. Where the blocks start depends on tables not read here, so the library
// block is the first place at or after the earliest it can start where such a block reads whole.
constexpr uint32_t kSltgHeader = 0x24;
constexpr uint32_t kSltgEntry = 8;

std::optional<platform::TypeLibIdentity> SltgLibraryBlock(const Bytes& bytes, uint64_t at) {
  if (bytes.U16(at) != 0x51CC) return std::nullopt;
  at += 2 + 2 + 2;                        // magic, reserved, name index
  for (int text = 0; text < 2; ++text) {  // help string and help file: a 16-bit length and the text
    const auto length = bytes.U16(at);
    if (!length) return std::nullopt;
    at += 2 + (*length == 0xFFFF ? 0 : *length);
  }
  at += 4 + 2 + 2 + 2 + 2;  // help context, syskind, lcid, reserved, flags
  if (!bytes.Has(at, 4 + 16)) return std::nullopt;
  return platform::TypeLibIdentity{GuidText(bytes, at + 4), static_cast<uint16_t>(*bytes.U16(at)),
                                   static_cast<uint16_t>(*bytes.U16(at + 2))};
}

TypeLibRead ReadSltg(const Bytes& bytes) {
  if (!bytes.Has(0, kSltgHeader)) return Problem("the type library's header is cut short");
  const uint32_t blocks = *bytes.U16(4);
  const uint32_t first = *bytes.U16(10);
  if (blocks == 0 || first == 0 || first > blocks)
    return Problem("the type library's block table is malformed");
  if (!bytes.Has(kSltgHeader, uint64_t{blocks} * kSltgEntry)) {
    return Problem("the type library's block table is out of range");
  }
  // Following the chain at most once per block keeps a looping chain finite.
  uint64_t before = 0;
  uint32_t order = first;
  uint32_t steps = 0;
  for (; steps < blocks; ++steps) {
    const uint64_t entry = kSltgHeader + uint64_t{order - 1} * kSltgEntry;
    const uint32_t next = *bytes.U16(entry + 6);
    if (next == 0) break;
    if (next > blocks) return Problem("the type library's block chain is malformed");
    before += *bytes.U32(entry);
    order = next;
  }
  if (steps == blocks) return Problem("the type library's block chain loops");
  const uint64_t earliest = kSltgHeader + uint64_t{blocks} * kSltgEntry + before;
  for (uint64_t at = earliest; bytes.Has(at, 2); ++at) {
    if (const auto identity = SltgLibraryBlock(bytes, at)) return {identity, {}};
  }
  return Problem("the type library's library block is missing");
}

TypeLibRead ReadBare(const Bytes& bytes) {
  if (bytes.Starts("MSFT")) return ReadMsft(bytes);
  if (bytes.Starts("SLTG")) return ReadSltg(bytes);
  return Problem("the file holds no type library");
}

// The PE file's resource tree: type, name, language.
class PeResources {
 public:
  explicit PeResources(const Bytes& bytes) : bytes_(bytes) {}

  // Sets up the section table and the resource root; false with problem_ set when they are not there.
  bool Open() {
    const auto peOffset = bytes_.U32(0x3C);
    if (!peOffset || !bytes_.Has(*peOffset, 24) || bytes_.U32(*peOffset) != 0x4550) {
      return Fail("the program file's PE header is missing or out of range");
    }
    const uint64_t coff = *peOffset + 4;
    sections_ = *bytes_.U16(coff + 2);
    const uint64_t optional = coff + 20;
    const auto magic = bytes_.U16(optional);
    uint64_t directories = 0;
    uint64_t countAt = 0;
    if (magic == 0x10B) {
      countAt = optional + 92;
      directories = optional + 96;
    } else if (magic == 0x20B) {
      countAt = optional + 108;
      directories = optional + 112;
    } else {
      return Fail("the program file's optional header is missing or of an unknown kind");
    }
    const auto count = bytes_.U32(countAt);
    if (!count || *count < 3 || !bytes_.Has(directories + 2 * 8, 8))
      return Fail("the program file has no resources");
    sectionTable_ = optional + *bytes_.U16(coff + 16);
    if (!bytes_.Has(sectionTable_, sections_ * 40))
      return Fail("the program file's section table is out of range");
    const uint32_t rva = *bytes_.U32(directories + 2 * 8);
    const uint32_t size = *bytes_.U32(directories + 2 * 8 + 4);
    if (rva == 0 || size == 0) return Fail("the program file has no resources");
    const auto root = Offset(rva, 16);
    if (!root) return Fail("the program file's resources are out of range");
    root_ = *root;
    return true;
  }

  // The bytes of the TYPELIB resource id (0: the first), or nothing with problem_ set.
  std::optional<Bytes> TypeLib(uint32_t id) {
    const auto types = Find(
        root_, [this](uint32_t name) { return IsTypeLibName(name); }, true);
    if (!types) return Missing("the program file has no TYPELIB resource");
    const auto names = Find(
        *types, [id](uint32_t name) { return id == 0 || name == id; }, true);
    if (!names) return Missing("the program file has no TYPELIB resource " + std::to_string(id));
    const auto languages = Find(
        *names, [](uint32_t) { return true; }, false);
    if (!languages || !bytes_.Has(*languages, 8))
      return Missing("the program file's TYPELIB resource is malformed");
    const uint32_t rva = *bytes_.U32(*languages);
    const uint32_t size = *bytes_.U32(*languages + 4);
    const auto at = Offset(rva, size);
    if (!at) return Missing("the program file's TYPELIB resource is out of range");
    return bytes_.Window(*at, size);
  }

  const std::string& problem() const { return problem_; }

 private:
  static constexpr uint32_t kHighBit = 0x80000000;

  bool Fail(std::string text) {
    problem_ = std::move(text);
    return false;
  }
  std::optional<Bytes> Missing(std::string text) {
    problem_ = std::move(text);
    return std::nullopt;
  }

  // The file offset of length bytes at a virtual address, inside one section's raw data.
  std::optional<uint64_t> Offset(uint64_t rva, uint64_t length) const {
    for (uint32_t i = 0; i < sections_; ++i) {
      const uint64_t header = sectionTable_ + uint64_t{i} * 40;
      const uint64_t address = *bytes_.U32(header + 12);
      const uint64_t raw = *bytes_.U32(header + 16);
      const uint64_t pointer = *bytes_.U32(header + 20);
      if (rva < address || rva - address >= raw) continue;
      const uint64_t within = rva - address;
      if (length > raw - within || !bytes_.Has(pointer + within, length)) return std::nullopt;
      return pointer + within;
    }
    return std::nullopt;
  }

  // The entry of the directory at offset (from the root) that matches; names are IDs or, with the high
  // bit, offsets of counted UTF-16 strings. Returns where the entry leads: a subdirectory's table when
  // wantDirectory, else a data entry.
  template <typename Match>
  std::optional<uint64_t> Find(uint64_t directory, Match match, bool wantDirectory) const {
    const auto named = bytes_.U16(directory + 12);
    const auto ids = bytes_.U16(directory + 14);
    if (!named || !ids) return std::nullopt;
    const uint64_t entries = directory + 16;
    const uint32_t count = *named + *ids;
    if (!bytes_.Has(entries, uint64_t{count} * 8)) return std::nullopt;
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t name = *bytes_.U32(entries + i * 8);
      const uint32_t target = *bytes_.U32(entries + i * 8 + 4);
      if (!match(name)) continue;
      if (((target & kHighBit) != 0) != wantDirectory) return std::nullopt;
      const uint64_t at = root_ + (target & ~kHighBit);
      // A directory that leads back to itself or above is a loop: only deeper tables are followed.
      if (at <= directory || !bytes_.Has(at, wantDirectory ? 16 : 8)) return std::nullopt;
      return at;
    }
    return std::nullopt;
  }

  bool IsTypeLibName(uint32_t name) const {
    if ((name & kHighBit) == 0) return false;
    const uint64_t at = root_ + (name & ~kHighBit);
    constexpr std::string_view kName = "TYPELIB";
    const auto length = bytes_.U16(at);
    if (length != kName.size() || !bytes_.Has(at + 2, kName.size() * 2)) return false;
    for (std::size_t i = 0; i < kName.size(); ++i) {
      uint32_t c = *bytes_.U16(at + 2 + i * 2);
      if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
      if (c != static_cast<uint32_t>(kName[i])) return false;
    }
    return true;
  }

  const Bytes& bytes_;
  uint32_t sections_ = 0;
  uint64_t sectionTable_ = 0;
  uint64_t root_ = 0;
  std::string problem_;
};

}  // namespace

TypeLibRead ReadTypeLibrary(ByteSource& source, uint32_t resourceId) {
  const Bytes file(source);
  if (!file.Starts("MZ")) return ReadBare(file);
  PeResources resources(file);
  if (!resources.Open()) return Problem(resources.problem());
  const auto blob = resources.TypeLib(resourceId);
  if (!blob) return Problem(resources.problem());
  return ReadBare(*blob);
}

TypeLibRead ReadTypeLibrary(std::string_view bytes, uint32_t resourceId) {
  MemorySource source(bytes);
  return ReadTypeLibrary(source, resourceId);
}

}  // namespace posix
