// Rounding of literals and results to 32-bit floats.
#include "formula/single_precision.h"

#include <cmath>
#include <limits>

float ToSingle(long double value) {
  if (std::isnan(value))
    return std::numeric_limits<float>::quiet_NaN();
  // The midpoint between the largest float and 2^128 rounds to the even
  // neighbour, 2^128, that is to infinity; everything below it is in range.
  constexpr long double kOverflow = 0x1.ffffffp127L;
  if (std::fabs(value) >= kOverflow)
    return std::signbit(value) ? -std::numeric_limits<float>::infinity()
                               : std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}
