// A 32-bit image in memory (0xffRRGGBB per pixel) and the two fills the renderer needs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/vector_types.h"

namespace morv {

struct TPixelBuffer {
  uint32_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  std::ptrdiff_t stride = 0;  // pixels from one row to the next
};

// A model colour (red in the lowest byte) as a pixel value.
inline uint32_t ColourToPixel(int32_t colour) {
  const auto c = static_cast<uint32_t>(colour);
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// Fills x from left to right - 1 and y from top to bottom - 1: the right and bottom edges are
// not part of a rectangle. Clipped to the image.
void FillRectangle(TPixelBuffer& image, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   uint32_t pixel);

// Fills a polygon under the even-odd rule. A pixel (x, y) is filled when the point (x, y) lies
// inside; a point on an edge belongs to the polygon on its left and top edges and not on its right
// and bottom ones, so a polygon through the corners of a rectangle fills exactly the pixels that
// FillRectangle does, and two polygons sharing an edge never both fill a pixel of it. Clipped to
// the image; any coordinates are safe.
void FillPolygon(TPixelBuffer& image, const TScreenPoint* points, int count, uint32_t pixel);

}  // namespace morv
