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
  // Each edge runs from its top end (owned) to its bottom end (not owned) and steps its crossing
  // from row to row exactly, as the ceiling of a rational with quotient and remainder: no
  // division per row.
  struct Edge {
    int32_t firstRow, endRow;
    int64_t x, rem, stepQ, stepR, dy;
  };
  std::array<Edge, MaxCorners> edges;
  int edgeCount = 0;
  int64_t top = INT64_MAX, bottom = INT64_MIN;
  for (int k = 0; k < count; ++k) {
    TScreenPoint a = points[k];
    TScreenPoint b = points[k + 1 == count ? 0 : k + 1];
    if (a.Y == b.Y) continue;
    if (a.Y > b.Y) std::swap(a, b);
    const int32_t firstRow = std::max<int32_t>(a.Y, 0);
    const int32_t endRow = std::min<int32_t>(b.Y, image.height);
    top = std::min<int64_t>(top, a.Y);
    bottom = std::max<int64_t>(bottom, b.Y);
    if (firstRow >= endRow) continue;
    const int64_t dy = int64_t{b.Y} - a.Y;
    const int64_t dx = int64_t{b.X} - a.X;
    const int64_t rise = int64_t{firstRow} - a.Y;
    const __int128 num = __int128{rise} * dx;
    const auto q = static_cast<int64_t>(CeilDiv<__int128>(num, __int128{dy}));
    Edge& e = edges[edgeCount++];
    e.firstRow = firstRow;
    e.endRow = endRow;
    e.x = a.X + q;
    e.rem = static_cast<int64_t>(__int128{q} * dy - num);      // 0 <= rem < dy
    e.stepQ = dx >= 0 ? dx / dy : -CeilDiv<int64_t>(-dx, dy);  // floor(dx / dy)
    e.stepR = dx - e.stepQ * dy;                               // 0 <= stepR < dy
    e.dy = dy;
  }
  if (edgeCount < 2) return;
  const auto firstRow = static_cast<int32_t>(std::max<int64_t>(top, 0));
  const auto endRow = static_cast<int32_t>(std::min<int64_t>(bottom, image.height));
  std::array<int64_t, MaxCorners> crossings{};
  for (int32_t y = firstRow; y < endRow; ++y) {
    int found = 0;
    for (int k = 0; k < edgeCount; ++k) {
      Edge& e = edges[k];
      if (y < e.firstRow || y >= e.endRow) continue;
      crossings[found++] = e.x;
      e.x += e.stepQ;
      if (e.stepR > e.rem) {
        e.x += 1;
        e.rem += e.dy;
      }
      e.rem -= e.stepR;
    }
    if (found == 2) {
      if (crossings[0] > crossings[1]) std::swap(crossings[0], crossings[1]);
    } else {
      std::sort(crossings.begin(), crossings.begin() + found);
    }
    for (int k = 0; k + 1 < found; k += 2)
      FillSpan(image, y, crossings[k], crossings[k + 1], pixel);
  }
}

}  // namespace morv
