// Conversion between RGB colours and hue, saturation and lightness.
#include "engine/hsl_rgb.h"

#include <algorithm>

#include "engine/rounding.h"

namespace morv {

namespace {

double HueToChannel(double p, double q, double h) {
  if (h < 0) {
    h += 1;
  } else if (h > 1) {
    h -= 1;
  }
  if (6 * h < 1) return p + (q - p) * h * 6;
  if (2 * h < 1) return q;
  if (3 * h < 2) return p + (q - p) * (2.0 / 3.0 - h) * 6;
  return p;
}

int32_t Channel(double value) { return std::clamp(RoundToInt(255 * value), 0, 255); }

}  // namespace

THSL RGBToHSL(int32_t colour) {
  const double r = (colour & 0xFF) / 255.0;
  const double g = ((colour >> 8) & 0xFF) / 255.0;
  const double b = ((colour >> 16) & 0xFF) / 255.0;
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  THSL hsl;
  hsl.L = (max + min) / 2;
  if (max == min) return hsl;
  const double delta = max - min;
  hsl.S = hsl.L < 0.5 ? delta / (max + min) : delta / (2.0 - max - min);
  if (r == max) {
    hsl.H = (g - b) / delta;
  } else if (g == max) {
    hsl.H = 2.0 + (b - r) / delta;
  } else {
    hsl.H = 4.0 + (r - g) / delta;
  }
  hsl.H /= 6.0;
  if (hsl.H < 0) hsl.H += 1.0;
  return hsl;
}

int32_t HSLToRGB(double h, double s, double l) {
  int32_t r, g, b;
  if (s == 0) {
    r = g = b = Channel(l);
  } else {
    const double q = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double p = 2 * l - q;
    r = Channel(HueToChannel(p, q, h + 1.0 / 3.0));
    g = Channel(HueToChannel(p, q, h));
    b = Channel(HueToChannel(p, q, h - 1.0 / 3.0));
  }
  return r | (g << 8) | (b << 16);
}

}  // namespace morv
