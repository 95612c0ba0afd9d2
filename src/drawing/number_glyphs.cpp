// Element numbers written straight into pixels from glyphs taken once from the text renderer.
#include "drawing/number_glyphs.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "drawing/drag_space_drawing.h"

namespace morv {

namespace {

// Numbers further off the picture than this cannot reach into it: the widest, a four-digit number,
// is less than 30 pixels wide and less than 20 high.
constexpr int64_t TextReach = 64;

}  // namespace

void TNumberGlyphs::Check() {
  font_ = makeFont_();
  const QString key = QFontInfo(font_).family() + font_.key();
  if (key == fontKey_) return;
  fontKey_ = key;
  for (auto& pixels : pixels_) pixels.clear();
  std::fill(known_.begin(), known_.end(), false);
}

const TNumberGlyphs::Pixels& TNumberGlyphs::Of(int32_t number) {
  const auto slot = static_cast<std::size_t>(number);
  if (known_[slot]) return pixels_[slot];
  // Drawn at the same fraction of a pixel as in the picture, with room for any overhang.
  constexpr int Pad = 8;
  QImage scratch(64, 40, QImage::Format_RGB32);
  scratch.fill(Qt::white);
  {
    QPainter painter(&scratch);
    painter.setFont(font_);
    painter.setPen(Qt::black);
    DragText(painter, Pad, Pad, QString::number(number));
  }
  Pixels& pixels = pixels_[slot];
  for (int y = 0; y < scratch.height(); ++y) {
    for (int x = 0; x < scratch.width(); ++x) {
      if (scratch.pixel(x, y) != qRgb(255, 255, 255)) {
        pixels.emplace_back(static_cast<int16_t>(x - Pad), static_cast<int16_t>(y - Pad));
      }
    }
  }
  known_[slot] = true;
  return pixels;
}

void TNumberGlyphs::Draw(TPixelBuffer& image, int64_t x, int64_t y, int32_t number,
                         uint32_t pixel) {
  if (number < 0 || number > MaxControls) return;
  if (x < -TextReach || y < -TextReach || x >= image.width || y >= image.height) return;
  for (const auto& [dx, dy] : Of(number)) {
    const int64_t px = x + dx;
    const int64_t py = y + dy;
    if (px >= 0 && px < image.width && py >= 0 && py < image.height) {
      image.bits[py * image.stride + px] = pixel;
    }
  }
}

}  // namespace morv
