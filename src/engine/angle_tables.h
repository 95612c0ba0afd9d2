// Cosine and sine of every whole degree from 0 to 360, so no render evaluates a trigonometric call.
#pragma once

#include <array>

namespace morv {

extern std::array<double, 361> CosTable;
extern std::array<double, 361> SinTable;

void MakeAngleTables();

}  // namespace morv
