// The printed model sheet's pages: golden pictures, the empty model, the mapping of each plane.
#include <gtest/gtest.h>
#include <QImage>

#include "drawing/print_sheet.h"
#include "engine/model.h"
#include "engine/model_file.h"
#include "platform/text_file.h"
#include "support/golden_image.h"
#include "support/test_files.h"

namespace morv::test {
namespace {

constexpr QRgb White = 0xFFFFFFFFu;
constexpr QRgb Silver = 0xFFC0C0C0u;

// A thumbnail whose halves differ, so a stretched copy shows which way round it went.
QImage Thumbnail() {
  QImage view(360, 360, QImage::Format_RGB32);
  view.fill(qRgb(0, 128, 0));
  for (int y = 0; y < 180; ++y) {
    for (int x = 0; x < 360; ++x) view.setPixel(x, y, qRgb(200, 40, 40));
  }
  return view;
}

QImage Diagram(const QImage& page) {
  return page.copy(SheetDiagramLeft, SheetDiagramTop, SheetDiagramSize, SheetDiagramSize);
}

TEST(PrintSheetTest, TheThreePagesOfTheTetrahedronMatchTheirGoldenPictures) {
  TMorvObject model;
  LoadModel(ReadTextLines(TestDataPath("tetra.MVD")), model);
  // A joint that carries two of the vertices, and one vertex half off the diagram.
  model.Joints[++model.JointCount].Position = {-20, 10, 30};
  model.Joints[model.JointCount].ControlRefs[++model.Joints[model.JointCount].RefCount] = 1;
  model.Joints[model.JointCount].ControlRefs[++model.Joints[model.JointCount].RefCount] = 3;
  model.Controls[++model.ControlCount] = {100, 0, -100};
  const TPrintHeader header = MakePrintHeader(model, Thumbnail(), 1234, 567, "42 ms");
  for (int page = 1; page <= SheetPageCount; ++page) {
    SCOPED_TRACE(page);
    const QImage sheet = DrawSheetPage(model, page, header);
    EXPECT_EQ(sheet.size(), QSize(617, 1000));
    EXPECT_TRUE(MatchesGolden(sheet, QStringLiteral("golden/sheet_tetra_%1.png").arg(page)));
  }
}

TEST(PrintSheetTest, AnEmptyModelShowsOnlyTheCrossAndTheLettersOnWhite) {
  const TMorvObject empty;
  const TPrintHeader header = MakePrintHeader(empty, QImage(), 7, 3, "12 ms");
  EXPECT_EQ(
      header.modeldata,
      QStringLiteral("Controls:0 Béziers:0 Joints:0 = Points:7 Polygons:3 Render time:12 ms"));
  for (int page = 1; page <= SheetPageCount; ++page) {
    const QImage diagram = Diagram(DrawSheetPage(empty, page, header));
    int letterPixels = 0;
    for (int y = 0; y < SheetDiagramSize; ++y) {
      for (int x = 0; x < SheetDiagramSize; ++x) {
        const bool cross = (y == 300 && x >= 280 && x < 320) || (x == 300 && y >= 280 && y < 320);
        // The letters' boxes: right of and above the cross's centre.
        const bool letters = (x >= 302 && x < 336 && y >= 296 && y < 318) ||
                             (x >= 300 && x < 324 && y >= 268 && y < 292);
        const QRgb pixel = diagram.pixel(x, y);
        if (cross) {
          ASSERT_EQ(pixel, Silver) << x << ", " << y;
        } else if (letters) {
          ASSERT_TRUE(pixel == White || pixel == Silver) << x << ", " << y;
          letterPixels += pixel == Silver ? 1 : 0;
        } else {
          ASSERT_EQ(pixel, White) << x << ", " << y;
        }
      }
    }
    EXPECT_GT(letterPixels, 20) << "page " << page << " shows its two letters";
  }
}

TEST(PrintSheetTest, EachPageMapsItsPlaneThreePixelsPerUnitAroundTheCentre) {
  TMorvObject model;
  model.Controls[++model.ControlCount] = {10, 20, 30};
  model.Controls[++model.ControlCount] = {100, 0, 0};  // its square straddles the right edge
  struct Case {
    int page;
    QString text;
    QPoint centre;
  } const cases[] = {{1, "X-Y", {330, 240}}, {2, "Y-Z", {390, 240}}, {3, "X-Z", {330, 210}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    EXPECT_EQ(SheetPlaneText(c.page), c.text);
    const QImage diagram = Diagram(DrawSheetPage(model, c.page, TPrintHeader{}));
    // The 4 x 4 square covers the centre pixel and the two before it and the one after it.
    for (const QPoint d : {QPoint(-2, -2), QPoint(1, 1), QPoint(-2, 1), QPoint(1, -2)}) {
      EXPECT_EQ(diagram.pixel(c.centre + d), qRgb(0, 0, 0));
    }
    EXPECT_NE(diagram.pixel(c.centre + QPoint(2, -2)), qRgb(0, 0, 0));
    EXPECT_NE(diagram.pixel(c.centre + QPoint(-2, -3)), qRgb(0, 0, 0));
  }
  const QImage first = Diagram(DrawSheetPage(model, 1, TPrintHeader{}));
  EXPECT_EQ(first.pixel(598, 298), qRgb(0, 0, 0));
  EXPECT_EQ(first.pixel(599, 301), qRgb(0, 0, 0));
}

TEST(PrintSheetTest, ADamagedModelDrawsWithinItsArraysAndSkipsIndicesOutsideIt) {
  TMorvObject model;
  model.ControlCount = 5000;
  model.PatchCount = -4;
  model.JointCount = 2000;
  model.Controls[1] = {1000000000, -2000000000, 5};
  model.Joints[1].RefCount = 700;
  model.Joints[1].ControlRefs[1] = 0;
  model.Joints[1].ControlRefs[2] = 1001;
  model.Joints[1].ControlRefs[3] = 1;
  const QImage page = DrawSheetPage(model, 1, TPrintHeader{});
  // Joint 1 at the centre draws its line towards the far vertex, two rows down per column across.
  EXPECT_EQ(page.pixel(SheetDiagramLeft + 350, SheetDiagramTop + 400), qRgb(255, 0, 0));
  EXPECT_EQ(page.pixel(SheetDiagramLeft + 400, SheetDiagramTop + 400), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace morv::test
