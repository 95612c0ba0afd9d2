// The drag space picture: white ground, axis cross and letters, markers, numbers and lines.
#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <functional>

#include "application_fixture.h"
#include "drawing/drag_space_drawing.h"

namespace morv::test {
namespace {

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Silver = qRgb(192, 192, 192);
constexpr QRgb Black = qRgb(0, 0, 0);
constexpr QRgb Red = qRgb(255, 0, 0);

QImage BlankImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TPixelBuffer PixelsOf(QImage& image) {
  return {reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
          image.bytesPerLine() / 4};
}

// The points of an image painted in `colour`.
std::vector<QPoint> PointsIn(const QImage& image, QRgb colour) {
  std::vector<QPoint> points;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == colour) points.emplace_back(x, y);
    }
  }
  return points;
}

std::vector<QPoint> LinePoints(int width, int height, int64_t x0, int64_t y0, int64_t x1,
                               int64_t y1) {
  QImage image = BlankImage(width, height);
  TPixelBuffer pixels = PixelsOf(image);
  DragLine(pixels, x0, y0, x1, y1, 0xFF000000u);
  return PointsIn(image, Black);
}

// True when some pixel of the box (inclusive) has the colour's hue: grey for a grey text drawn
// on white, pure red tones for a red one.
bool BoxHasInk(const QImage& image, QRect box, bool red) {
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (p == White) continue;
      if (red ? (qRed(p) == 255 && qGreen(p) == qBlue(p))
              : (qRed(p) == qGreen(p) && qGreen(p) == qBlue(p))) {
        return true;
      }
    }
  }
  return false;
}

bool BoxIsWhite(const QImage& image, QRect box) {
  for (int y = box.top(); y <= box.bottom(); ++y) {
    for (int x = box.left(); x <= box.right(); ++x) {
      if (image.pixel(x, y) != White) return false;
    }
  }
  return true;
}

TEST(DragLineTest, HorizontalAndVerticalLinesLeaveOutTheirEndPoint) {
  const std::vector<QPoint> across = LinePoints(20, 20, 2, 5, 7, 5);
  EXPECT_EQ(across, (std::vector<QPoint>{{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}}));
  const std::vector<QPoint> up = LinePoints(20, 20, 4, 9, 4, 6);
  EXPECT_EQ(up, (std::vector<QPoint>{{4, 7}, {4, 8}, {4, 9}}));
}

TEST(DragLineTest, AZeroLengthLineDrawsNothing) {
  EXPECT_TRUE(LinePoints(20, 20, 5, 5, 5, 5).empty());
}

TEST(DragLineTest, SlopedLinesStepOnePixelAlongTheLongerAxis) {
  const std::vector<QPoint> diagonal = LinePoints(20, 20, 1, 1, 5, 5);
  EXPECT_EQ(diagonal, (std::vector<QPoint>{{1, 1}, {2, 2}, {3, 3}, {4, 4}}));
  // Four steps across, two down: the half-way steps round away from the start.
  const std::vector<QPoint> shallow = LinePoints(20, 20, 0, 0, 4, 2);
  EXPECT_EQ(shallow, (std::vector<QPoint>{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));
  const std::vector<QPoint> steep = LinePoints(20, 20, 10, 10, 8, 6);
  EXPECT_EQ(steep, (std::vector<QPoint>{{8, 7}, {9, 8}, {9, 9}, {10, 10}}));
}

TEST(DragLineTest, ClippedLinesKeepThePixelsOfTheWholeLine) {
  // The same lines drawn into a large image, moved by (300, 300), and cut back to the small one.
  const int64_t lines[][4] = {{-50, 30, 250, 170},  {240, -70, -30, 260},   {-250, 199, 450, 0},
                              {10, -300, 190, 500}, {-280, -280, 470, 470}, {199, 199, -1, -1}};
  for (const auto& l : lines) {
    SCOPED_TRACE(testing::Message() << l[0] << "," << l[1] << " to " << l[2] << "," << l[3]);
    std::vector<QPoint> expected;
    for (const QPoint& p : LinePoints(800, 800, l[0] + 300, l[1] + 300, l[2] + 300, l[3] + 300)) {
      const QPoint q = p - QPoint(300, 300);
      if (q.x() >= 0 && q.x() < 200 && q.y() >= 0 && q.y() < 200) expected.push_back(q);
    }
    std::sort(expected.begin(), expected.end(),
              [](QPoint a, QPoint b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
    EXPECT_EQ(LinePoints(200, 200, l[0], l[1], l[2], l[3]), expected);
  }
}

TEST(DragLineTest, EndsFarOutsideTheImageAreSafe) {
  const int64_t far = 3'000'000'000;
  const std::vector<QPoint> row = LinePoints(200, 200, -far, 50, far, 50);
  ASSERT_EQ(row.size(), 200u);
  EXPECT_EQ(row.front(), QPoint(0, 50));
  EXPECT_EQ(row.back(), QPoint(199, 50));
  // Through the middle at a slope of one half: y follows x / 2 around the crossing point, each
  // half step rounded away from the start, which lies below and to the left.
  const std::vector<QPoint> slope =
      LinePoints(200, 200, 100 - 2 * far, 100 - far, 100 + 2 * far, 100 + far);
  ASSERT_EQ(slope.size(), 200u);
  for (const QPoint& p : slope) {
    const int dx = p.x() - 100;
    EXPECT_EQ(p.y(), 100 + (dx >= 0 ? (dx + 1) / 2 : dx / 2)) << p.x();
  }
}

class DragSpaceDrawingTest : public ApplicationTest {
 protected:
  void SetUp() override { Start(); }

  const QImage& Picture() const { return Form1->DragSpace->Picture(); }

  // White, the silver cross and the two letters of a plane: the picture of an empty model.
  static QImage EmptyPicture(const QString& across, const QString& up) {
    QImage image = BlankImage(200, 200);
    TPixelBuffer pixels = PixelsOf(image);
    DragLine(pixels, 80, 100, 120, 100, 0xFFC0C0C0u);
    DragLine(pixels, 100, 80, 100, 120, 0xFFC0C0C0u);
    QPainter painter(&image);
    painter.setFont(DragAxisFont());
    painter.setPen(QColor(192, 192, 192));
    DragText(painter, 118, 98, across);
    DragText(painter, 106, 70, up);
    return image;
  }

  static void AddPatch(std::array<int32_t, 8> indices) {
    TBezierPatch& patch = CurrentModel.Patches[++CurrentModel.PatchCount];
    for (int k = 1; k <= 8; ++k) patch.ControlIndex[k] = indices[static_cast<std::size_t>(k - 1)];
  }
};

TEST_F(DragSpaceDrawingTest, EmptyModelShowsTheSilverCrossAndTheLettersOnWhite) {
  Form1->DrawTheDrag();
  const QImage& picture = Picture();
  ASSERT_EQ(picture.size(), QSize(200, 200));
  for (int i = 80; i < 120; ++i) {
    EXPECT_EQ(picture.pixel(i, 100), Silver) << i;
    EXPECT_EQ(picture.pixel(100, i), Silver) << i;
  }
  EXPECT_EQ(picture.pixel(79, 100), White);
  EXPECT_EQ(picture.pixel(100, 79), White);
  EXPECT_EQ(picture.pixel(100, 120), White) << "a line leaves out its end point";
  EXPECT_EQ(picture.pixel(0, 0), White);
  EXPECT_EQ(picture.pixel(199, 199), White);
  // The letters: silver ink just below and right of the cross's right arm and beside its top.
  EXPECT_TRUE(BoxHasInk(picture, QRect(118, 101, 14, 14), false));
  EXPECT_TRUE(BoxHasInk(picture, QRect(106, 70, 14, 14), false));
  EXPECT_EQ(picture, EmptyPicture("x", "y"));
  EXPECT_EQ(Form1->PlaneControls.Count, 0);
  EXPECT_EQ(Form1->PlaneJoints.Count, 0);
}

TEST_F(DragSpaceDrawingTest, EachViewPlaneNamesItsAxes) {
  QTest::mouseClick(Form1->PLyz, Qt::LeftButton, {}, QPoint(5, 8));
  ASSERT_TRUE(Form1->PLyz->isChecked());
  EXPECT_EQ(Picture(), EmptyPicture("z", "y"));
  EXPECT_NE(Picture(), EmptyPicture("x", "y"));
  QTest::mouseClick(Form1->PLxz, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_EQ(Picture(), EmptyPicture("x", "z"));
  QTest::mouseClick(Form1->PLxy, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_EQ(Picture(), EmptyPicture("x", "y"));
}

TEST_F(DragSpaceDrawingTest, ControlVertexIsABlackSquareCentredOnItsPixelWithItsNumber) {
  AddControl(10, 20, 0);
  Form1->DrawTheDrag();
  const QImage& picture = Picture();
  for (int y = 78; y <= 81; ++y) {
    for (int x = 108; x <= 111; ++x) EXPECT_EQ(picture.pixel(x, y), Black) << x << "," << y;
  }
  // Around the square the picture is that of the empty model (the letter "y" lies close by),
  // but for the number below and right of it.
  const QImage empty = EmptyPicture("x", "y");
  for (int y = 70; y < 96; ++y) {
    for (int x = 100; x < 126; ++x) {
      const bool square = x >= 108 && x <= 111 && y >= 78 && y <= 81;
      const bool number = x >= 112 && y >= 82;
      if (!square && !number) {
        EXPECT_EQ(picture.pixel(x, y), empty.pixel(x, y)) << x << "," << y;
      }
    }
  }
  // Its number, grey, below and right of the square.
  EXPECT_TRUE(BoxHasInk(picture, QRect(112, 82, 8, 10), false));
  EXPECT_EQ(Form1->PlaneControls.Count, 1);
  EXPECT_EQ(Form1->PlaneControls.Items[1], 1);
}

TEST_F(DragSpaceDrawingTest, OnlyElementsAtThePlaneLevelAreDrawnAndListed) {
  AddControl(-50, 50, 1);
  AddControl(-50, -50, 0);
  AddControl(50, -50, -1);
  AddJoint({50, 50, 0}, {});
  AddJoint({0, 60, 2}, {});
  Form1->DrawTheDrag();
  const QImage& picture = Picture();
  EXPECT_EQ(picture.pixel(50, 50), White);
  EXPECT_EQ(picture.pixel(50, 150), Black);
  EXPECT_EQ(picture.pixel(150, 150), White);
  EXPECT_EQ(picture.pixel(150, 50), Red);
  EXPECT_EQ(picture.pixel(100, 40), White);
  EXPECT_TRUE(BoxHasInk(picture, QRect(152, 52, 8, 10), true)) << "the joint's number is red";
  ASSERT_EQ(Form1->PlaneControls.Count, 1);
  EXPECT_EQ(Form1->PlaneControls.Items[1], 2);
  ASSERT_EQ(Form1->PlaneJoints.Count, 1);
  EXPECT_EQ(Form1->PlaneJoints.Items[1], 1);
}

TEST_F(DragSpaceDrawingTest, PatchRowsAreBlackLinesBetweenInPlaneNeighboursOnly) {
  // Row 1-2-3-4 along v = 40, row 5-6-7-8 along v = -40; vertex 7 lies one unit off the plane.
  const int32_t h[] = {-60, -20, 20, 60};
  for (int k = 0; k < 4; ++k) AddControl(h[k], 40, 0);
  for (int k = 0; k < 4; ++k) AddControl(h[k], -40, k == 2 ? 1 : 0);
  AddPatch({1, 2, 3, 4, 5, 6, 7, 8});
  Form1->DrawTheDrag();
  const QImage& picture = Picture();
  // Upper row at y = 60, from x = 40 to 160, squares at 38..41, 78..81, 118..121, 158..161.
  for (const int x : {45, 60, 75, 85, 100, 115, 125, 140, 155}) {
    EXPECT_EQ(picture.pixel(x, 60), Black) << x;
  }
  // Lower row at y = 140: 5-6 drawn, 6-7 and 7-8 not, since 7 is out of the plane.
  for (const int x : {45, 60, 75}) EXPECT_EQ(picture.pixel(x, 140), Black) << x;
  for (const int x : {85, 100, 115, 125, 140, 155}) EXPECT_EQ(picture.pixel(x, 140), White) << x;
  // Nothing between the rows: not 4-5, 1-5 nor 4-8.
  EXPECT_TRUE(BoxIsWhite(picture, QRect(38, 64, 4, 72)));
  EXPECT_TRUE(BoxIsWhite(picture, QRect(156, 76, 10, 56)));
  EXPECT_EQ(picture.pixel(100, 100), Silver) << "no diagonal from 4 to 5 crosses the origin";
  EXPECT_EQ(Form1->PlaneControls.Count, 7);
}

TEST_F(DragSpaceDrawingTest, JointReferenceLinesAreRedAndOnlyToInPlaneVertices) {
  AddControl(-50, 0, 0);
  AddControl(50, 50, 5);
  const int joint = AddJoint({-50, -60, 0}, {1, 2, 1});
  Form1->DrawTheDrag();
  const QImage& picture = Picture();
  for (int y = 105; y <= 155; y += 10) EXPECT_EQ(picture.pixel(50, y), Red) << y;
  // No line to the vertex out of the plane, which would pass (80, 127) and (120, 83).
  EXPECT_TRUE(BoxIsWhite(picture, QRect(78, 125, 5, 5)));
  EXPECT_TRUE(BoxIsWhite(picture, QRect(118, 81, 5, 5)));
  EXPECT_EQ(Form1->PlaneJoints.Items[1], joint);
}

TEST_F(DragSpaceDrawingTest, LinesLieOverMarkersAndJointsOverControls) {
  AddControl(0, 50, 0);
  AddControl(40, 50, 0);
  AddControl(-40, 50, 0);
  AddPatch({3, 1, 2, 0, 0, 0, 0, 0});
  AddJoint({-40, 50, 0}, {});
  Form1->DrawTheDrag();
  const QImage& picture = Picture();
  EXPECT_EQ(picture.pixel(60, 49), Red) << "the joint covers vertex 3";
  EXPECT_EQ(picture.pixel(61, 50), Black) << "the segment 3-1 crosses the joint's square";
  EXPECT_EQ(picture.pixel(60, 50), Black);
  EXPECT_EQ(picture.pixel(61, 51), Red);
}

TEST_F(DragSpaceDrawingTest, AVertexOnePastTheRightEdgeShowsItsLeftHalf) {
  AddControl(100, 0, 0);
  Form1->DrawTheDrag();
  const QImage& picture = Picture();
  for (int y = 98; y <= 101; ++y) {
    EXPECT_EQ(picture.pixel(198, y), Black);
    EXPECT_EQ(picture.pixel(199, y), Black);
    EXPECT_EQ(picture.pixel(197, y), White);
  }
  EXPECT_EQ(Form1->PlaneControls.Count, 1);
}

TEST_F(DragSpaceDrawingTest, ElementsFarOutsideThePictureAreListedButNotDrawn) {
  AddControl(2'000'000'000, -2'000'000'000, 0);
  AddControl(-2'147'483'647 - 1, 2'147'483'647, 0);
  AddPatch({1, 2, 1, 0, 0, 0, 0, 0});
  AddJoint({2'147'483'647, 0, 0}, {1, 2});
  Form1->DrawTheDrag();
  EXPECT_EQ(Form1->PlaneControls.Count, 2);
  EXPECT_EQ(Form1->PlaneJoints.Count, 1);
  // The segments between 1 and 2 run along the picture's diagonal.
  for (const int k : {20, 60, 150}) {
    EXPECT_TRUE(Picture().pixel(k, k) == Black || Picture().pixel(k, k + 1) == Black) << k;
  }
  EXPECT_TRUE(BoxIsWhite(Picture(), QRect(0, 100, 70, 1)));
}

TEST_F(DragSpaceDrawingTest, IndicesOutsideTheModelReferToNothing) {
  AddControl(-30, 30, 0);
  AddControl(30, 30, 0);
  AddPatch({1, 2, 0, -5, 1001, 2, 3, 2'000'000'000});
  AddJoint({0, -30, 0}, {0, -1, 3, 1000, 1001, 2});
  Form1->DrawTheDrag();
  const QImage& picture = Picture();
  EXPECT_EQ(picture.pixel(100, 70), Black) << "the segment 1-2";
  EXPECT_EQ(picture.pixel(115, 100), Red) << "the reference to 2";
  EXPECT_EQ(picture.pixel(85, 100), Silver) << "no reference to 1";
}

TEST_F(DragSpaceDrawingTest, PlaneLevelScrollBarSetsTheReadoutAndTheDepth) {
  AddControl(-20, 0, 0);
  AddControl(20, 0, 37);
  Form1->DrawTheDrag();
  EXPECT_EQ(Picture().pixel(80, 100), Black);
  Form1->PLv->setValue(37);
  EXPECT_EQ(Form1->Label8->text(), "37");
  EXPECT_EQ(Picture().pixel(80, 100), Silver);
  EXPECT_EQ(Picture().pixel(120, 99), Black);
  ASSERT_EQ(Form1->PlaneControls.Count, 1);
  EXPECT_EQ(Form1->PlaneControls.Items[1], 2);
  // The scroll bar's left arrow.
  QTest::mouseClick(Form1->PLv, Qt::LeftButton, {}, QPoint(4, 8));
  EXPECT_EQ(Form1->Label8->text(), "36");
  EXPECT_EQ(Form1->PlaneControls.Count, 0);
}

TEST_F(DragSpaceDrawingTest, KeysArrowButtonsAndTheWheelAgreeOnTheLevel) {
  QScrollBar* level = Form1->PLv;
  const auto after = [&](const std::function<void()>& input) {
    level->setValue(10);
    input();
    return level->value();
  };
  const auto key = [&](Qt::Key k) { return [=] { QTest::keyClick(level, k); }; };
  const auto wheel = [&](int delta) {
    return [=] {
      const QPointF at(level->width() / 2.0, level->height() / 2.0);
      QWheelEvent event(at, level->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(level, &event);
    };
  };
  // Left, down and towards the user lower the level; right, up and away raise it.
  EXPECT_EQ(after([&] { QTest::mouseClick(level, Qt::LeftButton, {}, QPoint(4, 8)); }), 9);
  EXPECT_EQ(after([&] { QTest::mouseClick(level, Qt::LeftButton, {}, QPoint(171, 8)); }), 11);
  EXPECT_EQ(after(key(Qt::Key_Left)), 9);
  EXPECT_EQ(after(key(Qt::Key_Down)), 9);
  EXPECT_EQ(after(key(Qt::Key_Right)), 11);
  EXPECT_EQ(after(key(Qt::Key_Up)), 11);
  EXPECT_EQ(after(key(Qt::Key_Home)), -200);
  EXPECT_EQ(after(key(Qt::Key_End)), 200);
  EXPECT_LT(after(wheel(-120)), 10);
  EXPECT_GT(after(wheel(120)), 10);
  EXPECT_EQ(Form1->Label8->text(), QString::number(level->value()));
}

TEST_F(DragSpaceDrawingTest, YzPlaneShowsZAcrossAndYUpAtTheLevelOfX) {
  AddControl(0, 30, -40);
  AddControl(5, 30, 40);
  QTest::mouseClick(Form1->PLyz, Qt::LeftButton, {}, QPoint(5, 8));
  const QImage& picture = Picture();
  EXPECT_EQ(picture.pixel(60, 70), Black);
  EXPECT_EQ(picture.pixel(140, 70), White);
  Form1->PLv->setValue(5);
  EXPECT_EQ(Picture().pixel(140, 70), Black);
  EXPECT_EQ(Picture().pixel(60, 70), White);
}

TEST_F(DragSpaceDrawingTest, XzPlaneShowsXAcrossAndZUpAtTheLevelOfY) {
  AddControl(-40, 0, 30);
  AddControl(40, 8, 30);
  QTest::mouseClick(Form1->PLxz, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_EQ(Picture().pixel(60, 70), Black);
  EXPECT_EQ(Picture().pixel(140, 70), White);
}

TEST_F(DragSpaceDrawingTest, RedrawingTheSameModelGivesTheSamePicture) {
  AddControl(-30, 30, 0);
  AddControl(30, 30, 0);
  AddPatch({1, 2, 0, 0, 0, 0, 0, 0});
  Form1->DrawTheDrag();
  const QImage first = Picture().copy();
  CurrentModel.Controls[2].Y = -30;
  Form1->DrawTheDrag();
  EXPECT_NE(Picture(), first);
  CurrentModel.Controls[2].Y = 30;
  Form1->DrawTheDrag();
  EXPECT_EQ(Picture(), first) << "nothing of an earlier picture stays";
}

}  // namespace
}  // namespace morv::test
