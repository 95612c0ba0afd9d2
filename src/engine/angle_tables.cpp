// Cosine and sine of every whole degree from 0 to 360.
#include "engine/angle_tables.h"

#include <cmath>
#include <numbers>

namespace morv {

namespace {

struct TAngleTables {
  std::array<double, 361> Cos;
  std::array<double, 361> Sin;
};

// Computed once, on first use from whichever thread, and never changed.
const TAngleTables& ExactAngleTables() {
  static const TAngleTables tables = [] {
    TAngleTables t;
    for (int d = 0; d <= 360; ++d) {
      const double radians = (d / 180.0) * std::numbers::pi;
      t.Cos[d] = std::cos(radians);
      t.Sin[d] = std::sin(radians);
    }
    return t;
  }();
  return tables;
}

void Restore(std::array<double, 361>& table, const std::array<double, 361>& exact) {
  for (std::size_t d = 0; d < table.size(); ++d) {
    if (table[d] != exact[d]) table[d] = exact[d];
  }
}

}  // namespace

std::array<double, 361> CosTable = ExactAngleTables().Cos;
std::array<double, 361> SinTable = ExactAngleTables().Sin;

void MakeAngleTables() {
  const TAngleTables& exact = ExactAngleTables();
  Restore(CosTable, exact.Cos);
  Restore(SinTable, exact.Sin);
}

}  // namespace morv
