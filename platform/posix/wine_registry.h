// The type libraries a Wine prefix registers, read from its registry files (system.reg for the
// machine, user.reg for the user) as text, without starting Wine.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/registry.h"

namespace posix {

class WineRegistry : public platform::TypeLibRegistry {
 public:
  explicit WineRegistry(std::string source) : source_(std::move(source)) {}

  // Takes in the TypeLib keys of one registry file's text, the machine's or the user's; whatever is not
  // a well-formed TypeLib key is passed over.
  void AddText(std::string_view text, bool user);

  // The same, the text given in pieces as it is read: each piece but the last ends with a line's end.
  void AddLines(std::string_view lines, bool user);
  void EndText() { current_ = nullptr; }
  // Drops what one file gave (the machine's or the user's): a file that fails part way counts as unread.
  void Forget(bool user);

  std::vector<platform::TypeLibRegistration> Registrations(const std::string& guid) override;
  std::string Source() const override { return source_; }

 private:
  std::string source_;
  // Looked up by a part of a line's text without making a string of it.
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  using Registered = std::vector<platform::TypeLibRegistration>;
  std::unordered_map<std::string, Registered, TextHash, std::equal_to<>> byGuid_;  // lower-case GUID
  // The TypeLib key whose values are being read, across pieces of one file's text.
  platform::TypeLibRegistration* current_ = nullptr;
  bool win64_ = false;
};

// The prefix to read: the one given, else $WINEPREFIX, else ~/.wine when it exists; none otherwise.
std::optional<std::string> ChoosePrefix(const std::optional<std::string>& given);

// The registry of the prefix's system.reg and user.reg, or why it cannot be read (neither file read).
struct OpenedRegistry {
  std::unique_ptr<WineRegistry> registry;
  std::string problem;
};
OpenedRegistry OpenWineRegistry(const std::string& prefix);

}  // namespace posix
