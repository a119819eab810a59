// MulDiv as the system defines it, in portable code.
#pragma once

#include <cstdint>

namespace cmndlg {

// number × numerator ÷ denominator through a 64-bit intermediate product, rounded to the nearest
// integer with halves away from zero. -1 when the denominator is 0 or the result does not fit 32 bits.
int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator);

}  // namespace cmndlg
