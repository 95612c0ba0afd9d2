// Element numbers written straight into pixels from glyphs taken once from the text renderer.
#pragma once

#include <QFont>
#include <QString>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/model.h"
#include "engine/pixel_buffer.h"

namespace morv {

// The pixels each number paints, relative to its top-left corner, for one aliased font: such a
// font paints the same pixels in any colour on any ground, and a picture writes up to two thousand
// numbers. Numbers 0..MaxControls are kept.
class TNumberGlyphs {
 public:
  using FontMaker = QFont (*)();
  explicit TNumberGlyphs(FontMaker font) : makeFont_(font) {}

  // Starts over when the font has changed since the last picture, as a change of the font
  // substitutions can make it. Called once before each picture.
  void Check();

  // Writes the number with its top-left corner at (x, y), clipped to the image; any coordinates
  // are safe.
  void Draw(TPixelBuffer& image, int64_t x, int64_t y, int32_t number, uint32_t pixel);

 private:
  using Pixels = std::vector<std::pair<int16_t, int16_t>>;
  const Pixels& Of(int32_t number);

  FontMaker makeFont_;
  QFont font_;
  QString fontKey_;
  std::array<Pixels, MaxControls + 1> pixels_;
  std::array<bool, MaxControls + 1> known_{};
};

}  // namespace morv
