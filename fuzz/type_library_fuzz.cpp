// The type-library and PE readers, and the registry-file reader, over any bytes: a reason or an identity,
// never a read out of range, a hang or a crash. The last byte picks the TYPELIB resource asked for.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/posix/type_library_reader.h"
#include "platform/posix/wine_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const uint32_t resource = size == 0 ? 0 : data[size - 1] % 4;
  const auto read = posix::ReadTypeLibrary(bytes, resource);
  fuzz::Require(read.identity.has_value() == read.problem.empty(), "an identity or a reason, not both");
  if (read.identity)
    fuzz::Require(read.identity->guid.size() == 38 && read.identity->guid.front() == '{', "a GUID");

  posix::WineRegistry registry("fuzz");
  registry.AddText(bytes, false);
  const std::string guid = "{00020430-0000-0000-C000-000000000046}";
  for (const auto& registration : registry.Registrations(guid)) {
    fuzz::Require(registration.win32.has_value() || registration.win64.has_value(),
                  "a registration has a path");
  }
  // Given in pieces cut after a line's end, as a file is read, the text reads as a whole.
  posix::WineRegistry pieces("fuzz");
  const auto cut = bytes.find('\n', bytes.size() / 2);
  if (cut != std::string_view::npos) {
    pieces.AddLines(bytes.substr(0, cut + 1), false);
    pieces.AddLines(bytes.substr(cut + 1), false);
    pieces.EndText();
    const auto whole = registry.Registrations(guid);
    const auto read = pieces.Registrations(guid);
    fuzz::Require(whole.size() == read.size(), "the same registrations in pieces");
    for (std::size_t i = 0; i < whole.size() && i < read.size(); ++i) {
      fuzz::Require(whole[i].win32 == read[i].win32 && whole[i].win64 == read[i].win64 &&
                        whole[i].minor == read[i].minor && whole[i].lcid == read[i].lcid,
                    "the same registrations in pieces");
    }
  }
  return 0;
}
