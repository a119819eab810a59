#include "base/folded_names.h"

namespace base {

void FoldedNames::Add(std::string_view spelled, std::string value) {
  auto [slot, added] = folded_.try_emplace(LowerText(spelled, lead_), value);
  if (!added && value < slot->second) slot->second = std::move(value);
}

const std::string* FoldedNames::Find(std::string_view name) const {
  const auto found = folded_.find(LowerText(name, lead_));
  return found == folded_.end() ? nullptr : &found->second;
}

}  // namespace base
