// Cosine and sine of every whole degree from 0 to 360, so no render evaluates a trigonometric call.
#pragma once

#include <array>

namespace morv {

// Filled before the program's first statement and only read after, so renders on any number of
// threads may read them.
extern std::array<double, 361> CosTable;
extern std::array<double, 361> SinTable;

// Puts back any entry that differs from its exact value. Tables that hold their values are only
// read, so it may run while other threads render.
void MakeAngleTables();

}  // namespace morv
