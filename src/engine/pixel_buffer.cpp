// Rectangle and scanline polygon fills straight into a 32-bit image.
#include "engine/pixel_buffer.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace morv {

namespace {

constexpr int MaxCorners = 16;

// Ceiling of n / d for d > 0.
template <typename T>
T CeilDiv(T n, T d) {
  return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}

void FillSpan(TPixelBuffer& image, int32_t y, int64_t from, int64_t to, uint32_t pixel) {
  from = std::max<int64_t>(from, 0);
  to = std::min<int64_t>(to, image.width);
  if (from >= to) return;
  uint32_t* row = image.bits + y * image.stride;
  std::fill(row + from, row + to, pixel);
}

}  // namespace

void FillRectangle(TPixelBuffer& image, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   uint32_t pixel) {
  const int32_t y0 = std::max(top, 0);
  const int32_t y1 = std::min(bottom, image.height);
  for (int32_t y = y0; y < y1; ++y) FillSpan(image, y, left, right, pixel);
}

void FillPolygon(TPixelBuffer& image, const TScreenPoint* points, int count, uint32_t pixel) {
  if (count < 3 || count > MaxCorners) return;
  int64_t top = points[0].Y, bottom = points[0].Y;
  for (int k = 1; k < count; ++k) {
    top = std::min<int64_t>(top, points[k].Y);
    bottom = std::max<int64_t>(bottom, points[k].Y);
  }
  const auto firstRow = static_cast<int32_t>(std::max<int64_t>(top, 0));
  const auto endRow = static_cast<int32_t>(std::min<int64_t>(bottom, image.height));
  std::array<int64_t, MaxCorners> crossings{};
  for (int32_t y = firstRow; y < endRow; ++y) {
    int found = 0;
    for (int k = 0; k < count; ++k) {
      TScreenPoint a = points[k];
      TScreenPoint b = points[(k + 1) % count];
      if (a.Y == b.Y) continue;
      if (a.Y > b.Y) std::swap(a, b);
      // Each edge owns its top end and not its bottom one.
      if (y < a.Y || y >= b.Y) continue;
      const int64_t dy = int64_t{b.Y} - a.Y;
      const int64_t dx = int64_t{b.X} - a.X;
      const int64_t rise = int64_t{y} - a.Y;
      int64_t offset;
      if (std::llabs(dx) < (int64_t{1} << 31) && rise < (int64_t{1} << 31)) {
        offset = CeilDiv<int64_t>(rise * dx, dy);
      } else {
        offset = static_cast<int64_t>(CeilDiv<__int128>(__int128{rise} * dx, __int128{dy}));
      }
      crossings[found++] = a.X + offset;
    }
    std::sort(crossings.begin(), crossings.begin() + found);
    for (int k = 0; k + 1 < found; k += 2)
      FillSpan(image, y, crossings[k], crossings[k + 1], pixel);
  }
}

}  // namespace morv
