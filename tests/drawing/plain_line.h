// A line drawn as its rule reads, pixel by pixel: the reference the fast line drawing is held to.
#pragma once

#include <QImage>
#include <cstdint>
#include <cstdlib>

namespace morv::test {

// A line as its rule reads: from its start towards its end, one pixel per step along the longer
// axis, its end left out; at step i the other coordinate has moved i * minor / steps, rounded to
// the nearest pixel with a half going away from the start. Only the steps whose major coordinate
// falls on the image are looked at, so far ends cost nothing.
inline void PlainLine(QImage& image, int64_t x0, int64_t y0, int64_t x1, int64_t y1, QRgb colour) {
  using Wide = __int128;
  const int64_t dx = x1 - x0;
  const int64_t dy = y1 - y0;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t steps = std::llabs(xMajor ? dx : dy);
  const int64_t minor = std::llabs(xMajor ? dy : dx);
  if (steps == 0) return;
  const int64_t majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int64_t minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t majorStart = xMajor ? x0 : y0;
  const int64_t minorStart = xMajor ? y0 : x0;
  const int majorSize = xMajor ? image.width() : image.height();
  const int minorSize = xMajor ? image.height() : image.width();
  for (int m = 0; m < majorSize; ++m) {
    const int64_t i = (m - majorStart) * majorSign;
    if (i < 0 || i >= steps) continue;
    const Wide travelled = Wide{i} * minor;
    const Wide whole = travelled / steps;
    const Wide part = travelled % steps;  // the fraction is part / steps
    const Wide offset = 2 * part >= steps ? whole + 1 : whole;
    const Wide n = minorStart + minorSign * offset;
    if (n < 0 || n >= minorSize) continue;
    const int at = static_cast<int>(n);
    image.setPixel(xMajor ? m : at, xMajor ? at : m, colour);
  }
}

}  // namespace morv::test
