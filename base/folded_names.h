// A folder's names as an index for lookups without regard to case: the one way a listing is folded, by
// characters in the code page, so that the second byte of a two-byte character is never taken for a
// letter. Callers keep one per folder they have listed; reading the folder is theirs.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/code_page_text.h"

namespace base {

// Lookups by string_view into string-keyed maps, without building a string for each.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

class FoldedNames {
 public:
  explicit FoldedNames(const LeadBytes& lead = {}) : lead_(lead) {}

  // A name of the folder: spelled is the name in the code page, which is what is folded; value is what a
  // lookup hands back (the same name, or the host's spelling of it). Of names that fold alike, the one
  // whose value is first in byte order is kept, whatever order they come in.
  void Add(std::string_view spelled, std::string value);
  // The value of the name that matches name without regard to case; null when none does.
  const std::string* Find(std::string_view name) const;
  std::size_t size() const { return folded_.size(); }
  void reserve(std::size_t names) { folded_.reserve(names); }

 private:
  LeadBytes lead_;
  TextMap<std::string> folded_;  // lower case -> value
};

}  // namespace base
