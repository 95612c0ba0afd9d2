// Conversion between RGB colours (red in the lowest byte) and hue, saturation and lightness.
#pragma once

#include <cstdint>

namespace morv {

struct THSL {
  double H = 0;
  double S = 0;
  double L = 0;
};

THSL RGBToHSL(int32_t colour);
int32_t HSLToRGB(double h, double s, double l);

}  // namespace morv
