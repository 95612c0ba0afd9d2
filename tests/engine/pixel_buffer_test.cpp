// The fill rule: left and top edges belong to a shape, right and bottom edges do not.
#include "engine/pixel_buffer.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace morv {
namespace {

class Image {
 public:
  Image(int w, int h) : w_(w), h_(h), pixels_(static_cast<std::size_t>(w) * h, 0) {}
  TPixelBuffer Buffer() { return {pixels_.data(), w_, h_, w_}; }
  uint32_t At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * w_ + x]; }
  int Count(uint32_t pixel) const {
    int n = 0;
    for (uint32_t p : pixels_) n += p == pixel ? 1 : 0;
    return n;
  }

 private:
  int w_, h_;
  std::vector<uint32_t> pixels_;
};

constexpr uint32_t Ink = 0xFF112233;

void Fill(Image& image, std::vector<TScreenPoint> points) {
  TPixelBuffer buffer = image.Buffer();
  FillPolygon(buffer, points.data(), static_cast<int>(points.size()), Ink);
}

TEST(FillRectangle, ExcludesTheRightAndBottomEdges) {
  Image image(20, 20);
  TPixelBuffer buffer = image.Buffer();
  FillRectangle(buffer, 2, 3, 7, 5, Ink);
  EXPECT_EQ(image.Count(Ink), 5 * 2);
  EXPECT_EQ(image.At(2, 3), Ink);
  EXPECT_EQ(image.At(6, 4), Ink);
  EXPECT_EQ(image.At(7, 4), 0u);
  EXPECT_EQ(image.At(6, 5), 0u);
  FillRectangle(buffer, -100, -100, 1000, 1000, 7);
  EXPECT_EQ(image.Count(7), 400) << "clipped to the image";
}

TEST(FillPolygon, AnAxisAlignedSquareFillsLikeTheRectangle) {
  Image image(20, 20);
  Fill(image, {{2, 2}, {12, 2}, {12, 12}, {2, 12}});
  EXPECT_EQ(image.Count(Ink), 100);
  EXPECT_EQ(image.At(2, 2), Ink);
  EXPECT_EQ(image.At(11, 11), Ink);
  EXPECT_EQ(image.At(12, 5), 0u);
  EXPECT_EQ(image.At(5, 12), 0u);
  // Either winding fills the same pixels.
  Image reversed(20, 20);
  Fill(reversed, {{2, 12}, {12, 12}, {12, 2}, {2, 2}});
  EXPECT_EQ(reversed.Count(Ink), 100);
}

TEST(FillPolygon, TrianglesAndSharedEdges) {
  // A right triangle of legs 10: rows y = 0..9 hold 10 - y pixels each.
  Image image(20, 20);
  Fill(image, {{0, 0}, {10, 0}, {0, 10}});
  EXPECT_EQ(image.Count(Ink), 55);
  EXPECT_EQ(image.At(9, 0), Ink);
  EXPECT_EQ(image.At(0, 9), Ink);
  EXPECT_EQ(image.At(1, 9), 0u) << "(1, 9) lies on the diagonal, a right edge";

  // The square split along its diagonal: the halves cover it exactly once.
  Image halves(20, 20);
  Fill(halves, {{0, 0}, {10, 0}, {10, 10}});
  const int first = halves.Count(Ink);
  TPixelBuffer buffer = halves.Buffer();
  const TScreenPoint other[] = {{0, 0}, {10, 10}, {0, 10}};
  FillPolygon(buffer, other, 3, 0xFF000001);
  EXPECT_EQ(first + halves.Count(0xFF000001), 100);
  EXPECT_EQ(halves.Count(0), 300);
}

TEST(FillPolygon, DegenerateAndBowTieShapes) {
  Image image(20, 20);
  Fill(image, {{5, 5}, {5, 5}, {5, 5}, {5, 5}});
  Fill(image, {{1, 1}, {9, 1}, {15, 1}});  // a horizontal line has no area
  Fill(image, {{1, 1}, {1, 9}, {1, 15}});  // nor has a vertical one
  EXPECT_EQ(image.Count(Ink), 0);
  // A bow tie fills its left and right triangles and nothing between their tips.
  Fill(image, {{0, 0}, {10, 10}, {10, 0}, {0, 10}});
  EXPECT_EQ(image.At(1, 5), Ink);
  EXPECT_EQ(image.At(8, 5), Ink);
  EXPECT_EQ(image.At(5, 1), 0u);
  EXPECT_EQ(image.At(5, 8), 0u);
}

TEST(FillPolygon, HugeCoordinatesAreClippedSafely) {
  Image image(16, 16);
  Fill(image, {{INT32_MIN, INT32_MIN},
               {INT32_MAX, INT32_MIN},
               {INT32_MAX, INT32_MAX},
               {INT32_MIN, INT32_MAX}});
  EXPECT_EQ(image.Count(Ink), 256);
  Image thin(16, 16);
  Fill(thin, {{-2000000000, 8}, {2000000000, 7}, {2000000000, 9}});
  EXPECT_GT(thin.Count(Ink), 0);
  EXPECT_LT(thin.Count(Ink), 40);
}

}  // namespace
}  // namespace morv

namespace morv {
namespace {

// Whether the point (x, y) is inside under the even-odd rule, with left and top edges inside:
// count the edges that cross row y (top end included, bottom end not) at or left of x.
bool InsideReference(const std::vector<TScreenPoint>& p, int64_t x, int64_t y) {
  int crossings = 0;
  for (std::size_t k = 0; k < p.size(); ++k) {
    TScreenPoint a = p[k], b = p[(k + 1) % p.size()];
    if (a.Y == b.Y) continue;
    if (a.Y > b.Y) std::swap(a, b);
    if (y < a.Y || y >= b.Y) continue;
    // crossing x = a.X + (y - a.Y) * dx / dy <= x, with dy > 0
    const int64_t dy = b.Y - a.Y, dx = int64_t{b.X} - a.X;
    if (int64_t{a.X} * dy + (y - a.Y) * dx <= x * dy) ++crossings;
  }
  return crossings % 2 == 1;
}

TEST(FillPolygon, MatchesThePointInsideRuleOnRandomShapes) {
  std::mt19937 random(2024);
  for (int round = 0; round < 400; ++round) {
    const int corners = 3 + static_cast<int>(random() % 5);
    std::vector<TScreenPoint> shape;
    for (int k = 0; k < corners; ++k) {
      shape.push_back(
          {static_cast<int32_t>(random() % 44) - 6, static_cast<int32_t>(random() % 44) - 6});
    }
    Image image(32, 32);
    Fill(image, shape);
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        ASSERT_EQ(image.At(x, y) == Ink, InsideReference(shape, x, y))
            << "round " << round << " pixel " << x << "," << y;
      }
    }
  }
}

}  // namespace
}  // namespace morv
