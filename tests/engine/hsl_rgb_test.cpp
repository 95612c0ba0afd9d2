// Colours through hue, saturation and lightness: round trips, greys and darkening.
#include "engine/hsl_rgb.h"

#include <gtest/gtest.h>

namespace morv {
namespace {

int32_t Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

TEST(HslRgb, EveryColourOnACoarseGridComesBackUnchanged) {
  for (int r = 0; r < 256; r += 15) {
    for (int g = 0; g < 256; g += 17) {
      for (int b = 0; b < 256; b += 5) {
        const THSL hsl = RGBToHSL(Rgb(r, g, b));
        EXPECT_EQ(HSLToRGB(hsl.H, hsl.S, hsl.L), Rgb(r, g, b)) << r << "," << g << "," << b;
      }
    }
  }
}

TEST(HslRgb, KnownColours) {
  THSL red = RGBToHSL(255);
  EXPECT_DOUBLE_EQ(red.H, 0);
  EXPECT_DOUBLE_EQ(red.S, 1);
  EXPECT_DOUBLE_EQ(red.L, 0.5);
  THSL blue = RGBToHSL(Rgb(0, 0, 255));
  EXPECT_DOUBLE_EQ(blue.H, 4.0 / 6.0);
  THSL magenta = RGBToHSL(Rgb(255, 0, 128));  // red is the maximum, g - b negative: wraps
  EXPECT_GT(magenta.H, 0.9);
  THSL grey = RGBToHSL(Rgb(128, 128, 128));
  EXPECT_EQ(grey.S, 0);
  EXPECT_EQ(grey.H, 0);
}

TEST(HslRgb, DarkeningScalesLightnessAndKeepsHue) {
  const double d = 0.33035;
  const THSL red = RGBToHSL(255);
  EXPECT_EQ(HSLToRGB(red.H, red.S, red.L * d), Rgb(84, 0, 0));
  const THSL white = RGBToHSL(16777215);
  EXPECT_EQ(HSLToRGB(white.H, white.S, white.L * d), Rgb(84, 84, 84));
  const THSL grey = RGBToHSL(Rgb(128, 128, 128));
  EXPECT_EQ(HSLToRGB(grey.H, grey.S, grey.L * d), Rgb(42, 42, 42));
  EXPECT_EQ(HSLToRGB(red.H, red.S, 0), 0) << "no light is black";
  const THSL olive = RGBToHSL(Rgb(200, 180, 20));
  EXPECT_EQ(HSLToRGB(olive.H, olive.S, olive.L * 1.0), Rgb(200, 180, 20));
}

}  // namespace
}  // namespace morv
