#include "cmndlg/mul_div.h"

#include <limits>

namespace cmndlg {

int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator) {
  if (denominator == 0) return -1;
  // |product| <= 2^62 and |denominator| <= 2^31: no step below can overflow 64 bits.
  int64_t product = int64_t{number} * numerator;
  int64_t divisor = denominator;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  const int64_t half = divisor / 2;
  const int64_t quotient = product >= 0 ? (product + half) / divisor : -((-product + half) / divisor);
  if (quotient > std::numeric_limits<int32_t>::max() || quotient < std::numeric_limits<int32_t>::min()) {
    return -1;
  }
  return static_cast<int32_t>(quotient);
}

}  // namespace cmndlg
