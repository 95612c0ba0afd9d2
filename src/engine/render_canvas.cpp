// A canvas of plain memory for headless rendering and tests.
#include "engine/render_canvas.h"

namespace morv {

TMemoryCanvas::TMemoryCanvas(int32_t width, int32_t height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, 0) {}

TPixelBuffer TMemoryCanvas::Pixels() { return {pixels_.data(), width_, height_, width_}; }

void TMemoryCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  texts_.push_back(std::to_string(x) + "," + std::to_string(y) + ":" + text);
}

uint32_t TMemoryCanvas::Pixel(int32_t x, int32_t y) const {
  return pixels_.at(static_cast<std::size_t>(y) * width_ + x);
}

}  // namespace morv
