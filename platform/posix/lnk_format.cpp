// Serialises a shell link: header, link info with a local base path, string data, terminal block.
#include "platform/posix/lnk_format.h"

#include "base/little_endian.h"

namespace posix {
namespace {

// LinkFlags
constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasName = 0x04;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kHasArguments = 0x20;
constexpr uint32_t kHasIconLocation = 0x40;

constexpr uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr uint32_t kLinkInfoHeaderSize = 0x1C;
constexpr uint32_t kVolumeIdHeaderSize = 0x10;
constexpr uint32_t kDriveFixed = 3;

// CLSID_ShellLink {00021401-0000-0000-C000-000000000046} as stored: the first three fields little-endian.
constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Link info locating the target by volume and local base path; no network part, empty path suffix.
std::string LinkInfo(const std::string& target) {
  std::string volume;
  base::Put32(volume, kVolumeIdHeaderSize + 1);
  base::Put32(volume, kDriveFixed);
  base::Put32(volume, 0);  // serial number
  base::Put32(volume, kVolumeIdHeaderSize);
  volume += '\0';  // empty volume label

  const uint32_t localBasePathOffset = kLinkInfoHeaderSize + static_cast<uint32_t>(volume.size());
  const uint32_t suffixOffset = localBasePathOffset + static_cast<uint32_t>(target.size()) + 1;
  const uint32_t size = suffixOffset + 1;
  std::string out;
  base::Put32(out, size);
  base::Put32(out, kLinkInfoHeaderSize);
  base::Put32(out, kVolumeIdAndLocalBasePath);
  base::Put32(out, kLinkInfoHeaderSize);  // volume ID right after the header
  base::Put32(out, localBasePathOffset);
  base::Put32(out, 0);  // no common network relative link
  base::Put32(out, suffixOffset);
  out += volume;
  out += target;
  out += '\0';
  out += '\0';  // empty common path suffix
  return out;
}

void PutCounted(std::string& out, const std::string& text) {
  base::Put16(out, static_cast<uint32_t>(text.size()));
  out += text;
}

}  // namespace

std::optional<std::string> ShellLinkBytes(const ShellLinkData& link) {
  for (const std::string* text :
       {&link.workingDirectory, &link.arguments, &link.description, &link.iconLocation}) {
    if (text->size() > 0xFFFF) return std::nullopt;
  }
  uint32_t flags = 0;
  if (!link.targetPath.empty()) flags |= kHasLinkInfo;
  if (!link.description.empty()) flags |= kHasName;
  if (!link.workingDirectory.empty()) flags |= kHasWorkingDir;
  if (!link.arguments.empty()) flags |= kHasArguments;
  if (!link.iconLocation.empty()) flags |= kHasIconLocation;

  std::string out;
  base::Put32(out, kLnkHeaderSize);
  out.append(reinterpret_cast<const char*>(kLinkClsid), sizeof kLinkClsid);
  base::Put32(out, flags);
  base::Put32(out, link.fileAttributes);
  base::Put64(out, 0);  // creation time: not known on this host
  base::Put64(out, 0);  // access time: left out so that writing the same link twice gives the same bytes
  base::Put64(out, link.writeTime);
  base::Put32(out, link.fileSize);
  base::Put32(out, static_cast<uint32_t>(link.iconIndex));
  base::Put32(out, static_cast<uint32_t>(link.showCommand));
  base::Put16(out, 0);  // no hot key
  base::Put16(out, 0);  // reserved
  base::Put32(out, 0);
  base::Put32(out, 0);

  if (flags & kHasLinkInfo) out += LinkInfo(link.targetPath);
  // The string data in their fixed order; a relative path is not written.
  if (flags & kHasName) PutCounted(out, link.description);
  if (flags & kHasWorkingDir) PutCounted(out, link.workingDirectory);
  if (flags & kHasArguments) PutCounted(out, link.arguments);
  if (flags & kHasIconLocation) PutCounted(out, link.iconLocation);
  base::Put32(out, 0);  // terminal block: no extra data
  return out;
}

}  // namespace posix
