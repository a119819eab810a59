// Conversion of a property bag's answer to the type of the property it is loaded into.
#pragma once

#include <cstdint>
#include <string>

#include "platform/control_container.h"

namespace cmndlg {

inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kTypeMismatch = 13;

// A Boolean widens to -1/0; a String must hold a decimal integer (blanks around it allowed), else
// kTypeMismatch; one outside 32 bits raises kOverflow.
int32_t ToLong(const platform::PropertyValue& value);
// Any nonzero number is True (-1); a String is "True", "False" (any case) or a number, else kTypeMismatch.
int16_t ToBoolean(const platform::PropertyValue& value);
// Numbers in decimal; a Boolean as "True" or "False".
std::string ToText(const platform::PropertyValue& value);

}  // namespace cmndlg
