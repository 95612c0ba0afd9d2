// The one rounding rule of the whole engine: to the nearest integer, halves to the even neighbour.
#pragma once

#include <cmath>
#include <cstdint>

namespace morv {

// Values beyond the 32-bit range saturate at its ends; NaN gives 0.
inline int32_t RoundToInt(double value) {
  if (std::isnan(value)) return 0;
  // nearbyint follows the default rounding mode, which rounds halves to even.
  const double rounded = std::nearbyint(value);
  if (rounded >= 2147483647.0) return INT32_MAX;
  if (rounded <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(rounded);
}

}  // namespace morv
