// The sheet's diagram against its loops as they read, on random models in all three planes.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <random>

#include "drawing/plain_line.h"
#include "drawing/print_sheet.h"
#include "engine/model.h"

namespace morv::test {
namespace {

// Every loop in its plain form: for each vertex every vertex against every patch, for each joint
// every vertex against every reference; numbers through the text renderer, lines pixel by pixel.
QImage DrawPlainly(const TMorvObject& m, TViewPlane plane) {
  QImage picture(SheetDiagramSize, SheetDiagramSize, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  TPixelBuffer pixels{reinterpret_cast<uint32_t*>(picture.bits()), picture.width(),
                      picture.height(), picture.bytesPerLine() / 4};
  FillRectangle(pixels, -1, -1, 601, 601, 0xFFFFFFFFu);
  PlainLine(picture, 280, 300, 320, 300, qRgb(192, 192, 192));
  PlainLine(picture, 300, 280, 300, 320, qRgb(192, 192, 192));
  QPainter painter(&picture);
  painter.setFont(SheetAxisFont());
  painter.setPen(QColor(192, 192, 192));
  DragText(painter, 318, 298, plane == TViewPlane::YZ ? "z" : "x");
  DragText(painter, 306, 270, plane == TViewPlane::XZ ? "z" : "y");

  auto x = [&](const TControlVertex& p) { return 300 + 3 * int64_t{DragCoordinates(p, plane).H}; };
  auto y = [&](const TControlVertex& p) { return 300 - 3 * int64_t{DragCoordinates(p, plane).V}; };
  painter.setFont(SheetNumberFont());
  for (int32_t i = 1; i <= m.ControlCount; ++i) {
    const TControlVertex& a = m.Controls[i];
    PixelMarker(pixels, x(a), y(a), 0xFF000000u);
    painter.setPen(QColor(128, 128, 128));
    DragText(painter, x(a) + 2, y(a) + 2, QString::number(i));
    for (int32_t j = 1; j <= m.ControlCount; ++j) {
      for (int32_t p = 1; p <= m.PatchCount; ++p) {
        for (const int32_t k : {1, 2, 3, 5, 6, 7}) {
          if (m.Patches[p].ControlIndex[k] != i || m.Patches[p].ControlIndex[k + 1] != j) continue;
          PlainLine(picture, x(a), y(a), x(m.Controls[j]), y(m.Controls[j]), qRgb(0, 0, 0));
        }
      }
    }
  }
  painter.setPen(QColor(255, 0, 0));
  for (int32_t i = 1; i <= m.JointCount; ++i) {
    const TControlVertex& a = m.Joints[i].Position;
    PixelMarker(pixels, x(a), y(a), 0xFFFF0000u);
    DragText(painter, x(a) + 2, y(a) + 2, QString::number(i));
    for (int32_t j = 1; j <= m.ControlCount; ++j) {
      for (int32_t r = 1; r <= m.Joints[i].RefCount; ++r) {
        if (m.Joints[i].ControlRefs[r] != j) continue;
        PlainLine(picture, x(a), y(a), x(m.Controls[j]), y(m.Controls[j]), qRgb(255, 0, 0));
      }
    }
  }
  return picture;
}

// Few places, so that squares, numbers and lines cover each other and lines repeat; some points
// beyond the diagram, some indices outside the model.
TMorvObject CrowdedModel(std::mt19937& random) {
  auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  auto spot = [&] { return pick(0, 12) == 0 ? pick(-300, 300) : pick(-4, 4) * 11 + pick(0, 1); };
  auto index = [&](int32_t count) { return pick(0, 25) == 0 ? pick(-2, 1002) : pick(1, count); };
  TMorvObject m;
  m.ControlCount = pick(0, 90);
  for (int32_t i = 1; i <= m.ControlCount; ++i) m.Controls[i] = {spot(), spot(), spot()};
  m.PatchCount = pick(0, 50);
  for (int32_t p = 1; p <= m.PatchCount; ++p) {
    for (int32_t k = 1; k <= 8; ++k) {
      m.Patches[p].ControlIndex[k] =
          k > 1 && pick(0, 5) == 0 ? m.Patches[p].ControlIndex[k - 1] : index(m.ControlCount + 3);
    }
  }
  m.JointCount = pick(0, 25);
  for (int32_t j = 1; j <= m.JointCount; ++j) {
    m.Joints[j].Position = {spot(), spot(), spot()};
    m.Joints[j].RefCount = pick(0, 20);
    for (int32_t r = 1; r <= m.Joints[j].RefCount; ++r) {
      m.Joints[j].ControlRefs[r] = index(m.ControlCount + 3);
    }
  }
  return m;
}

TEST(PrintSheetReferenceTest, DrawsWhatThePlainLoopsDrawOnRandomModels) {
  std::mt19937 random(61);
  const TViewPlane planes[] = {TViewPlane::XY, TViewPlane::YZ, TViewPlane::XZ};
  int crossed = 0;
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    const TMorvObject model = CrowdedModel(random);
    const TViewPlane plane = planes[round % 3];
    const QImage expected = DrawPlainly(model, plane);
    QImage diagram(SheetDiagramSize, SheetDiagramSize, QImage::Format_RGB32);
    diagram.fill(Qt::blue);
    DrawSheetDiagram(model, plane, diagram);
    ASSERT_EQ(diagram, expected);
    crossed += model.ControlCount > 20 && model.PatchCount > 10 && model.JointCount > 5 ? 1 : 0;
  }
  EXPECT_GT(crossed, 20) << "most models are crowded with every kind of element";
}

}  // namespace
}  // namespace morv::test
