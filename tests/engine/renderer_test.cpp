// The patch renderer: tessellation numbers, culling, shading, drawing order and counts.
#include "engine/renderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "engine/angle_tables.h"
#include "engine/view_parameters.h"

namespace morv {
namespace {

class Renderer : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeAngleTables();
    SetStartViewParameters();
    SceneObject = TMorvObject{};
    TargetCanvas = &canvas_;
  }
  void TearDown() override {
    TargetCanvas = nullptr;
    SetStartViewParameters();
  }

  static int32_t AddVertex(int32_t x, int32_t y, int32_t z) {
    SceneObject.Controls[++SceneObject.ControlCount] = {x, y, z};
    return SceneObject.ControlCount;
  }

  // A patch between two curves given as their four control points each.
  static void AddPatch(const std::array<TControlVertex, 4>& a,
                       const std::array<TControlVertex, 4>& b, int32_t colour) {
    TBezierPatch& p = SceneObject.Patches[++SceneObject.PatchCount];
    for (int k = 0; k < 4; ++k) p.ControlIndex[k + 1] = AddVertex(a[k].X, a[k].Y, a[k].Z);
    for (int k = 0; k < 4; ++k) p.ControlIndex[k + 5] = AddVertex(b[k].X, b[k].Y, b[k].Z);
    p.Colour = colour;
  }

  static std::array<TControlVertex, 4> Line(int32_t y, int32_t z = 0, int32_t x0 = 0,
                                            int32_t x1 = 90) {
    const int32_t step = (x1 - x0) / 3;
    return {{{x0, y, z}, {x0 + step, y, z}, {x0 + 2 * step, y, z}, {x1, y, z}}};
  }

  uint32_t At(int32_t x, int32_t y) const { return canvas_.Pixel(x, y); }

  TMemoryCanvas canvas_{360, 360};
};

TEST_F(Renderer, AModelWithoutPatchesShowsOnlyTheBackground) {
  BackgroundColour = 0x0000FF;  // red
  SceneObject.ControlCount = 3;
  RenderModel(10, 20, 30);
  EXPECT_EQ(PointCount, 0);
  EXPECT_EQ(PolygonCount, 0);
  for (int32_t y = 0; y < 360; y += 7) {
    for (int32_t x = 0; x < 360; x += 7) ASSERT_EQ(At(x, y), 0xFFFF0000u);
  }
  EXPECT_EQ(At(359, 359), 0xFFFF0000u);
}

TEST_F(Renderer, StraightCurveGivesThirteenEvenlyRoundedPoints) {
  AddPatch(Line(0), Line(60), 255);
  RenderModel(0, 0, 0);
  const std::vector<int32_t> xs{0, 8, 15, 22, 30, 38, 45, 52, 60, 68, 75, 82, 90};
  for (int k = 0; k < 13; ++k) {
    EXPECT_EQ(RenderPoints[k + 1], (TPoint3D{xs[k], 0, 0})) << k;
    EXPECT_EQ(RenderPoints[k + 14], (TPoint3D{xs[k], 60, 0})) << k;
  }
}

TEST_F(Renderer, CurvedEdgeGivesTheQuarterControlPolygon) {
  AddPatch({{{0, 0, 0}, {0, 90, 0}, {90, 90, 0}, {90, 0, 0}}}, Line(-50), 255);
  RenderModel(0, 0, 0);
  const std::vector<TPoint3D> expected{
      {0, 0, 0},   {0, 22, 0},  {6, 39, 0},  {14, 51, 0}, {22, 62, 0}, {34, 68, 0}, {45, 68, 0},
      {56, 68, 0}, {68, 62, 0}, {76, 51, 0}, {84, 39, 0}, {90, 22, 0}, {90, 0, 0}};
  for (int k = 0; k < 13; ++k) EXPECT_EQ(RenderPoints[k + 1], expected[k]) << k;
}

TEST_F(Renderer, QuadrilateralsJoinCorrespondingPointsOfTheTwoCurves) {
  AddPatch(Line(60), Line(0), 255);
  AddPatch(Line(60), Line(0), 255);
  RenderModel(0, 0, 0);
  EXPECT_EQ(PointCount, 52);
  EXPECT_EQ(PolygonCount, 24);
  for (int k = 0; k < 12; ++k) {
    EXPECT_EQ(RenderPolygons[k + 1].Corner[1], 14 + k);
    EXPECT_EQ(RenderPolygons[k + 1].Corner[2], 15 + k);
    EXPECT_EQ(RenderPolygons[k + 1].Corner[3], 2 + k);
    EXPECT_EQ(RenderPolygons[k + 1].Corner[4], 1 + k);
    EXPECT_EQ(RenderPolygons[k + 13].Corner[1], 26 + 14 + k) << "second patch from point 27";
  }
}

TEST_F(Renderer, AFlatFrontFacingPatchIsShadedUnderTheStartLight) {
  // Curve A along y = 60, curve B along y = 0: front-facing at angles (0, 0, 0).
  AddPatch(Line(60), Line(0), 255);
  RenderModel(0, 0, 0);
  EXPECT_EQ(VisibleCount, 12);
  // Model (45, 30, 0) projects to the screen centre's left and below: (135, 210).
  EXPECT_EQ(At(135, 210), 0xFF540000u) << "pure red darkened to (84, 0, 0)";
  EXPECT_EQ(At(300, 20), 0xFF008000u) << "background elsewhere";

  SceneObject.Patches[1].Colour = 16777215;
  RenderModel(0, 0, 0);
  EXPECT_EQ(At(135, 210), 0xFF545454u);
  SceneObject.Patches[1].Colour = 0x808080;
  RenderModel(0, 0, 0);
  EXPECT_EQ(At(135, 210), 0xFF2A2A2Au);
}

TEST_F(Renderer, ExchangingTheCurvesCullsThePatch) {
  AddPatch(Line(0), Line(60), 255);
  RenderModel(0, 0, 0);
  EXPECT_EQ(PolygonCount, 12);
  EXPECT_EQ(VisibleCount, 0);
  EXPECT_EQ(At(135, 210), 0xFF008000u);
}

TEST_F(Renderer, AnEdgeOnPatchDrawsNothing) {
  AddPatch(Line(0), Line(0), 255);
  RenderModel(0, 0, 0);
  EXPECT_EQ(PolygonCount, 12);
  EXPECT_EQ(VisibleCount, 0);
}

TEST_F(Renderer, PatchesNamingMissingVerticesAreCountedButNeverDrawn) {
  AddPatch(Line(60), Line(0), 255);
  AddPatch(Line(60, 0, -90, 0), Line(0, 0, -90, 0), 255);
  SceneObject.Patches[2].ControlIndex[3] = 0;
  SceneObject.Patches[1].ControlIndex[8] = 5000;
  RenderModel(0, 0, 0);
  EXPECT_EQ(PointCount, 52);
  EXPECT_EQ(PolygonCount, 24);
  EXPECT_EQ(VisibleCount, 0);
  EXPECT_EQ(RenderPoints[30], (TPoint3D{0, 0, 0}));
}

TEST_F(Renderer, AFullModelRendersEveryPatch) {
  for (int32_t i = 1; i <= MaxPatches; ++i) {
    TBezierPatch& p = SceneObject.Patches[i];
    for (int32_t k = 1; k <= 8; ++k) p.ControlIndex[k] = k;
    p.Colour = 255;
  }
  SceneObject.PatchCount = MaxPatches;
  const auto a = Line(60), b = Line(0);
  for (int k = 0; k < 4; ++k) SceneObject.Controls[k + 1] = a[k];
  for (int k = 0; k < 4; ++k) SceneObject.Controls[k + 5] = b[k];
  SceneObject.ControlCount = 8;
  RenderModel(0, 0, 0);
  EXPECT_EQ(PointCount, 26000);
  EXPECT_EQ(PolygonCount, 12000);
  EXPECT_EQ(VisibleCount, 12000);
}

TEST_F(Renderer, ManyVisiblePolygonsAreSortedFarToNear) {
  // Two patches facing the viewer; the nearer one (larger z) generated first.
  AddPatch(Line(60, 50), Line(0, 50), 255);         // near, red
  AddPatch(Line(60, -50), Line(0, -50), 0xFF0000);  // far, blue
  RenderModel(0, 0, 0);
  ASSERT_EQ(VisibleCount, 24);
  EXPECT_EQ(VisiblePolygons[1].Colour, 0xFF0000) << "the far patch is drawn first";
  EXPECT_EQ(VisiblePolygons[24].Colour, 255);
  // Where both overlap, the near red one is on top.
  const uint32_t centre = At(130, 205);
  EXPECT_EQ(centre & 0x00FF0000u, centre & 0x00FFFFFFu) << "red on top";
}

TEST_F(Renderer, TwoOrThreeVisiblePolygonsAreDrawnInGenerationOrder) {
  // Twisted patches of which only two or three polygons face the viewer, the first generated
  // of them nearer than the last, so sorting would have swapped them.
  const std::vector<std::array<TControlVertex, 8>> patches{{{{-9, -3, 56},
                                                             {-34, -31, -3},
                                                             {53, -13, -18},
                                                             {-39, 24, -60},
                                                             {-50, 34, 21},
                                                             {-11, 43, 7},
                                                             {-8, 14, 58},
                                                             {6, -18, -21}}},
                                                           {{{-8, -53, -15},
                                                             {-11, 15, 36},
                                                             {-4, 41, -5},
                                                             {29, -20, -20},
                                                             {-40, -34, 16},
                                                             {30, -5, -40},
                                                             {-17, 11, -42},
                                                             {-43, 60, -26}}}};
  for (std::size_t n = 0; n < patches.size(); ++n) {
    SceneObject = TMorvObject{};
    AddPatch({patches[n][0], patches[n][1], patches[n][2], patches[n][3]},
             {patches[n][4], patches[n][5], patches[n][6], patches[n][7]}, 255);
    RenderModel(0, 0, 0);
    ASSERT_EQ(VisibleCount, static_cast<int32_t>(n + 2));
    EXPECT_GT(PolygonDepth(1), PolygonDepth(VisibleCount));
    for (int32_t k = 2; k <= VisibleCount; ++k) {
      EXPECT_GT(VisiblePolygons[k].Corner[1], VisiblePolygons[k - 1].Corner[1]);
    }
  }
}

// The depth sort as its steps read, on a list of its own, 1-based like VisiblePolygons. It keeps
// no shortcut of any kind, so whatever order the renderer draws in must come out of these steps.
class ReferenceDepthSort {
 public:
  explicit ReferenceDepthSort(std::vector<TRenderPolygon> entries) : entries_(std::move(entries)) {}

  const std::vector<TRenderPolygon>& Entries() const { return entries_; }

  void QuickSort(int lo, int hi) {
    if (lo < hi) {
      const int p = Partition(lo, hi);
      QuickSort(lo, p - 1);
      QuickSort(p + 1, hi);
    }
  }

 private:
  // The key of an entry: the sum of the view-space z of its four corners.
  int64_t Key(int k) const {
    int64_t sum = 0;
    for (int32_t c = 1; c <= 4; ++c) sum += RenderPoints[entries_[k].Corner[c]].Z;
    return sum;
  }

  int Partition(int lo, int hi) {
    // The pivot is the entry at Lo.
    const int64_t pivotKey = Key(lo);
    int i = lo;
    int j = hi;
    // Repeat while j > i.
    while (j > i) {
      // Advance i while the key at i is not greater than the pivot key and i has not passed Hi.
      while (i <= hi && !(Key(i) > pivotKey)) i = i + 1;
      // Move j down while the key at j is greater than the pivot key.
      while (Key(j) > pivotKey) j = j - 1;
      // If j > i, swap the entries at i and j.
      if (j > i) std::swap(entries_[i], entries_[j]);
    }
    // Swap the pivot entry at Lo with the entry at j, and return j.
    std::swap(entries_[lo], entries_[j]);
    return j;
  }

  std::vector<TRenderPolygon> entries_;
};

TEST_F(Renderer, TheDepthSortFollowsItsPartitionStepByStep) {
  std::mt19937 random(12345);
  auto uniform = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  int withEqualKeys = 0;
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    // Few distinct depths in most rounds, so that many keys are equal, some lists all equal.
    const int spread = round % 4 == 0 ? 1 : round % 4 == 1 ? 3 : round % 4 == 2 ? 20 : 5000;
    const int points = uniform(1, 40);
    for (int32_t p = 1; p <= points; ++p) RenderPoints[p] = {uniform(-9, 9), 0, uniform(0, spread)};
    const int n = uniform(1, 400);
    VisibleCount = n;
    std::vector<TRenderPolygon> entries(static_cast<std::size_t>(n) + 1);
    std::set<int64_t> keys;
    for (int k = 1; k <= n; ++k) {
      TRenderPolygon& polygon = VisiblePolygons[k];
      for (int32_t c = 1; c <= 4; ++c) polygon.Corner[c] = uniform(1, points);
      polygon.Colour = k;  // tells the entries apart
      entries[static_cast<std::size_t>(k)] = polygon;
      keys.insert(PolygonDepth(k));
    }
    withEqualKeys += static_cast<int>(keys.size()) < n ? 1 : 0;
    // Now and then only a part of the list, which must leave the rest where it is.
    const int lo = round % 5 == 4 ? uniform(1, n) : 1;
    const int hi = round % 5 == 4 ? uniform(lo, n) : n;

    ReferenceDepthSort reference(entries);
    reference.QuickSort(lo, hi);
    ZorbalQuickSort(lo, hi);
    for (int k = 1; k <= n; ++k) {
      ASSERT_EQ(VisiblePolygons[k], reference.Entries()[static_cast<std::size_t>(k)])
          << "entry " << k << " of " << n << ", sorted " << lo << ".." << hi;
    }
  }
  EXPECT_GT(withEqualKeys, 300) << "equal keys are what the partition's order is about";
}

TEST_F(Renderer, APointAtTheEyeWritesTheNoticeAndKeepsItsLastScreenPosition) {
  AddPatch(Line(60), Line(0), 255);
  RenderModel(0, 0, 0);
  const TScreenPoint before = ScreenPoints[1];
  EXPECT_TRUE(canvas_.Texts().empty());
  for (int32_t i = 1; i <= SceneObject.ControlCount; ++i) SceneObject.Controls[i].Z = 200;
  RenderModel(0, 0, 0);
  ASSERT_EQ(canvas_.Texts().size(), 1u);
  EXPECT_EQ(canvas_.Texts()[0], std::string("0,0:") + ProjectionErrorText);
  EXPECT_EQ(ScreenPoints[1], before);
}

TEST_F(Renderer, AZeroLightIsReportedAndLightsFromTheViewer) {
  AddPatch(Line(60), Line(0), 255);
  LightVector = {0, 0, 0};
  const TRenderReport report = RenderModel(0, 0, 0);
  EXPECT_TRUE(report.LightFailed);
  EXPECT_EQ(At(135, 210), 0xFFFF0000u) << "full light from straight ahead";
}

TEST_F(Renderer, TheWorkerDrawsTheSamePictureAsTheCallingThread) {
  AddPatch({{{0, 0, 0}, {0, 90, 30}, {90, 90, -20}, {90, 0, 0}}}, Line(-50, 10), 0x00A0F0);
  AddPatch(Line(60, -10, -80, 10), Line(0, 30, -80, 10), 0x30C020);
  RenderModel(20, 30, 40);
  std::vector<uint32_t> single;
  for (int32_t y = 0; y < 360; ++y) {
    for (int32_t x = 0; x < 360; ++x) single.push_back(canvas_.Pixel(x, y));
  }
  FillRectangle(*std::make_unique<TPixelBuffer>(canvas_.Pixels()), 0, 0, 360, 360, 0);
  RenderAngleX = 20;
  RenderAngleY = 30;
  RenderAngleZ = 40;
  TGraphicsThread worker;
  worker.Start();
  worker.Join();
  EXPECT_TRUE(worker.Terminated());
  for (int32_t y = 0; y < 360; ++y) {
    for (int32_t x = 0; x < 360; ++x) ASSERT_EQ(canvas_.Pixel(x, y), single[y * 360 + x]);
  }
}

}  // namespace
}  // namespace morv
