// Cosine and sine of every whole degree from 0 to 360.
#include "engine/angle_tables.h"

#include <cmath>
#include <numbers>

namespace morv {

std::array<double, 361> CosTable{};
std::array<double, 361> SinTable{};

void MakeAngleTables() {
  for (int d = 0; d <= 360; ++d) {
    const double radians = (d / 180.0) * std::numbers::pi;
    CosTable[d] = std::cos(radians);
    SinTable[d] = std::sin(radians);
  }
}

}  // namespace morv
