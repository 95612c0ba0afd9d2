// The drag space against plain drawings: lines pixel by pixel, whole pictures on random models.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "drawing/drag_space_drawing.h"
#include "drawing/plain_line.h"
#include "engine/model.h"

namespace morv::test {
namespace {

// Where DragLine and the plain line part, for a readable failure.
testing::AssertionResult SameLine(int width, int height, int64_t x0, int64_t y0, int64_t x1,
                                  int64_t y1, int* painted = nullptr) {
  QImage drawn(width, height, QImage::Format_RGB32);
  drawn.fill(Qt::white);
  QImage expected = drawn;
  TPixelBuffer pixels{reinterpret_cast<uint32_t*>(drawn.bits()), drawn.width(), drawn.height(),
                      drawn.bytesPerLine() / 4};
  DragLine(pixels, x0, y0, x1, y1, 0xFF000000u);
  PlainLine(expected, x0, y0, x1, y1, qRgb(0, 0, 0));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (painted != nullptr && expected.pixel(x, y) != qRgb(255, 255, 255)) ++*painted;
      if (drawn.pixel(x, y) != expected.pixel(x, y)) {
        return testing::AssertionFailure()
               << "(" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << "): pixel (" << x
               << ", " << y << ") is " << (drawn.pixel(x, y) == qRgb(0, 0, 0) ? "" : "not ")
               << "painted";
      }
    }
  }
  return testing::AssertionSuccess();
}

TEST(DragLineReferenceTest, RoundsEveryHalfStepAwayFromTheStart) {
  // Slopes of 1/2, 1/6 and 3/4 meet a half step again and again; each runs both ways and steep.
  for (const auto& [a, b] : {std::pair{2, 1}, std::pair{6, 1}, std::pair{4, 3}}) {
    for (const int64_t k : {2, 5, 400, 3000, 700'000'000}) {
      for (const int sx : {1, -1}) {
        for (const int sy : {1, -1}) {
          const int64_t x0 = 100 - sx * a * k;
          const int64_t y0 = 100 - sy * b * k;
          const int64_t x1 = 100 + sx * a * (k + 1);
          const int64_t y1 = 100 + sy * b * (k + 1);
          EXPECT_TRUE(SameLine(200, 200, x0, y0, x1, y1));
          EXPECT_TRUE(SameLine(200, 200, y0, x0, y1, x1));
        }
      }
    }
  }
}

TEST(DragLineReferenceTest, LongLinesInsideALargeImageMatchPixelForPixel) {
  // Longer than 4096 steps without any clipping.
  EXPECT_TRUE(SameLine(6000, 40, 0, 0, 5998, 39));
  EXPECT_TRUE(SameLine(6000, 40, 5999, 1, 1, 38));
  EXPECT_TRUE(SameLine(6000, 40, 10, 30, 5010, 5));
  EXPECT_TRUE(SameLine(40, 6000, 0, 5999, 39, 1));
  EXPECT_TRUE(SameLine(40, 6000, 3, 0, 7, 5994));
}

TEST(DragLineReferenceTest, RandomLinesOfEveryLengthMatchPixelForPixel) {
  std::mt19937_64 random(4096);
  auto uniform = [&](int64_t low, int64_t high) {
    return std::uniform_int_distribution<int64_t>(low, high)(random);
  };
  int longLinesSeen = 0;
  for (int round = 0; round < 3000; ++round) {
    // Through a point on or near the picture, in a direction of small whole numbers, with the
    // ends anywhere from a few pixels to billions of pixels away.
    const int64_t px = uniform(-20, 220);
    const int64_t py = uniform(-20, 220);
    const int64_t a = uniform(-12, 12);
    const int64_t b = uniform(-12, 12);
    const int64_t reach[] = {uniform(1, 60), uniform(100, 5000), uniform(5000, 2'000'000),
                             uniform(100'000'000, 250'000'000)};
    const int64_t back = reach[uniform(0, 3)];
    const int64_t ahead = reach[uniform(0, 3)];
    int painted = 0;
    EXPECT_TRUE(
        SameLine(200, 200, px - a * back, py - b * back, px + a * ahead, py + b * ahead, &painted));
    if (HasFailure()) break;
    const int64_t steps = std::max(std::llabs(a), std::llabs(b)) * (back + ahead);
    longLinesSeen += steps > 4096 && painted > 0 ? 1 : 0;
  }
  EXPECT_GT(longLinesSeen, 1000) << "most lines are long and cross the picture";
}

struct TReference {
  QImage picture{DragSpaceSize, DragSpaceSize, QImage::Format_RGB32};
  std::vector<int32_t> controls;
  std::vector<int32_t> joints;
};

// Every step in its plain form: markers and numbers through the text renderer, lines pixel by
// pixel, every ordered pair of in-plane vertices against every patch's six row pairs, every
// in-plane joint against every in-plane vertex and every reference.
TReference DrawPlainly(const TMorvObject& m, TViewPlane plane, int32_t level) {
  TReference r;
  r.picture.fill(Qt::black);
  TPixelBuffer pixels{reinterpret_cast<uint32_t*>(r.picture.bits()), r.picture.width(),
                      r.picture.height(), r.picture.bytesPerLine() / 4};
  FillRectangle(pixels, -1, -1, 201, 201, 0xFFFFFFFFu);
  PlainLine(r.picture, 80, 100, 120, 100, qRgb(192, 192, 192));
  PlainLine(r.picture, 100, 80, 100, 120, qRgb(192, 192, 192));
  QPainter painter(&r.picture);
  painter.setFont(DragAxisFont());
  painter.setPen(QColor(192, 192, 192));
  DragText(painter, 118, 98, plane == TViewPlane::YZ ? "z" : "x");
  DragText(painter, 106, 70, plane == TViewPlane::XZ ? "z" : "y");

  auto pixelOf = [&](const TControlVertex& p) {
    const TDragPoint d = DragCoordinates(p, plane);
    return std::pair<int64_t, int64_t>{100 + int64_t{d.H}, 100 - int64_t{d.V}};
  };
  painter.setFont(DragNumberFont());
  painter.setPen(QColor(128, 128, 128));
  for (int32_t i = 1; i <= m.ControlCount; ++i) {
    if (DepthCoordinate(m.Controls[i], plane) != level) continue;
    r.controls.push_back(i);
    DragMarker(pixels, DragCoordinates(m.Controls[i], plane), 0xFF000000u);
    const auto [x, y] = pixelOf(m.Controls[i]);
    DragText(painter, x + 2, y + 2, QString::number(i));
  }
  painter.setPen(QColor(255, 0, 0));
  for (int32_t j = 1; j <= m.JointCount; ++j) {
    if (DepthCoordinate(m.Joints[j].Position, plane) != level) continue;
    r.joints.push_back(j);
    DragMarker(pixels, DragCoordinates(m.Joints[j].Position, plane), 0xFFFF0000u);
    const auto [x, y] = pixelOf(m.Joints[j].Position);
    DragText(painter, x + 2, y + 2, QString::number(j));
  }
  painter.end();

  const int32_t rows[] = {1, 2, 3, 5, 6, 7};
  for (const int32_t a : r.controls) {
    for (const int32_t b : r.controls) {
      for (int32_t p = 1; p <= m.PatchCount; ++p) {
        for (const int32_t k : rows) {
          if (m.Patches[p].ControlIndex[k] == a && m.Patches[p].ControlIndex[k + 1] == b) {
            const auto [x0, y0] = pixelOf(m.Controls[a]);
            const auto [x1, y1] = pixelOf(m.Controls[b]);
            PlainLine(r.picture, x0, y0, x1, y1, qRgb(0, 0, 0));
            break;
          }
        }
      }
    }
  }
  for (const int32_t j : r.joints) {
    for (const int32_t c : r.controls) {
      for (int32_t k = 1; k <= m.Joints[j].RefCount; ++k) {
        if (m.Joints[j].ControlRefs[k] != c) continue;
        const auto [x0, y0] = pixelOf(m.Joints[j].Position);
        const auto [x1, y1] = pixelOf(m.Controls[c]);
        PlainLine(r.picture, x0, y0, x1, y1, qRgb(255, 0, 0));
      }
    }
  }
  return r;
}

// A model crowded into few places and few depths, so that elements share the plane, their
// positions and their lines; some coordinates lie beyond the picture, some indices outside the
// model.
TMorvObject RandomModel(std::mt19937& random) {
  auto uniform = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  auto coordinate = [&] { return uniform(0, 9) == 0 ? uniform(-400, 400) : uniform(-12, 12) * 8; };
  auto depth = [&] { return uniform(-1, 1); };
  TMorvObject m;
  m.ControlCount = uniform(0, 120);
  for (int32_t i = 1; i <= m.ControlCount; ++i) {
    TControlVertex& c = m.Controls[i];
    c = {coordinate(), coordinate(), coordinate()};
    switch (uniform(0, 2)) {
      case 0:
        c.X = depth();
        break;
      case 1:
        c.Y = depth();
        break;
      default:
        c.Z = depth();
    }
  }
  auto index = [&] { return uniform(0, 30) == 0 ? uniform(-3, 1003) : uniform(1, 125); };
  m.PatchCount = uniform(0, 80);
  for (int32_t p = 1; p <= m.PatchCount; ++p) {
    for (int32_t k = 1; k <= 8; ++k) {
      // Repeated pairs within a patch happen when neighbours repeat an index.
      m.Patches[p].ControlIndex[k] =
          k > 1 && uniform(0, 4) == 0 ? m.Patches[p].ControlIndex[k - 1] : index();
    }
  }
  m.JointCount = uniform(0, 40);
  for (int32_t j = 1; j <= m.JointCount; ++j) {
    TJoint& joint = m.Joints[j];
    joint.Position = {coordinate(), coordinate(), coordinate()};
    if (uniform(0, 1) == 0) joint.Position.Z = depth();
    joint.RefCount = uniform(0, 30);
    for (int32_t k = 1; k <= joint.RefCount; ++k) {
      joint.ControlRefs[k] = k > 1 && uniform(0, 5) == 0 ? joint.ControlRefs[k - 1] : index();
    }
  }
  return m;
}

TEST(DragSpaceReferenceTest, DrawsWhatThePlainScansDrawOnRandomModels) {
  std::mt19937 random(20240611);
  const TViewPlane planes[] = {TViewPlane::XY, TViewPlane::YZ, TViewPlane::XZ};
  int linesSeen = 0;
  for (int round = 0; round < 150; ++round) {
    const TMorvObject model = RandomModel(random);
    const TViewPlane plane = planes[round % 3];
    const int32_t level = round % 5 == 0 ? 1 : 0;
    SCOPED_TRACE(testing::Message() << "round " << round);

    const TReference expected = DrawPlainly(model, plane, level);
    QImage picture(DragSpaceSize, DragSpaceSize, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    TPlaneList controls;
    TPlaneList joints;
    controls.Count = 7;  // whatever was there before is dropped
    DrawDragSpace(model, plane, level, picture, controls, joints);

    ASSERT_EQ(controls.Count, static_cast<int32_t>(expected.controls.size()));
    for (int32_t s = 1; s <= controls.Count; ++s) {
      EXPECT_EQ(controls.Items[s], expected.controls[static_cast<std::size_t>(s - 1)]);
    }
    ASSERT_EQ(joints.Count, static_cast<int32_t>(expected.joints.size()));
    for (int32_t s = 1; s <= joints.Count; ++s) {
      EXPECT_EQ(joints.Items[s], expected.joints[static_cast<std::size_t>(s - 1)]);
    }
    ASSERT_EQ(picture, expected.picture);
    if (!expected.controls.empty() && model.PatchCount > 0) ++linesSeen;
  }
  EXPECT_GT(linesSeen, 50) << "the random models exercise the lines";
}

TEST(DragSpaceReferenceTest, ACrowdedFullModelMatchesToo) {
  // Every element in the plane, on a few shared places: most lines repeat others.
  std::mt19937 random(7);
  auto uniform = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  TMorvObject m;
  m.ControlCount = 300;
  for (int32_t i = 1; i <= m.ControlCount; ++i)
    m.Controls[i] = {uniform(-3, 3) * 30, uniform(-3, 3) * 30, 0};
  m.PatchCount = 200;
  for (int32_t p = 1; p <= m.PatchCount; ++p) {
    for (int32_t k = 1; k <= 8; ++k) m.Patches[p].ControlIndex[k] = uniform(1, 300);
  }
  m.JointCount = 60;
  for (int32_t j = 1; j <= m.JointCount; ++j) {
    m.Joints[j].Position = {uniform(-3, 3) * 30 + 5, uniform(-3, 3) * 30, 0};
    m.Joints[j].RefCount = 100;
    for (int32_t k = 1; k <= 100; ++k) m.Joints[j].ControlRefs[k] = uniform(1, 300);
  }
  const TReference expected = DrawPlainly(m, TViewPlane::XY, 0);
  QImage picture(DragSpaceSize, DragSpaceSize, QImage::Format_RGB32);
  TPlaneList controls;
  TPlaneList joints;
  DrawDragSpace(m, TViewPlane::XY, 0, picture, controls, joints);
  EXPECT_EQ(controls.Count, 300);
  EXPECT_EQ(joints.Count, 60);
  EXPECT_EQ(picture, expected.picture);
}

}  // namespace
}  // namespace morv::test
