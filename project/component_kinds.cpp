#include "project/component_kinds.h"

#include "project/mdl_trim.h"

namespace mdlFile {

namespace {

// FindKind indexes the table by kind number.
constexpr bool InKindOrder() {
  for (std::size_t i = 0; i < kComponentKinds.size(); ++i) {
    if (kComponentKinds[i].kind != kindForm + static_cast<int32_t>(i)) return false;
  }
  return true;
}
static_assert(InKindOrder());

}  // namespace

const ComponentKindInfo* FindKind(int32_t kind) {
  if (kind < kindForm || kind > kindDesigner) return nullptr;
  return &kComponentKinds[static_cast<std::size_t>(kind - kindForm)];
}

const ComponentKindInfo* KindOfKey(std::string_view key) {
  for (const ComponentKindInfo& info : kComponentKinds) {
    if (mdlTrim::EqualsIgnoringAsciiCase(key, info.key)) return &info;
  }
  return nullptr;
}

}  // namespace mdlFile
