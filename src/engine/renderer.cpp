// The patch renderer: tessellation into shaded quadrilaterals, culling, depth sort and filling.
#include "engine/renderer.h"

#include <algorithm>
#include <array>

#include "engine/hsl_rgb.h"
#include "engine/vector_maths.h"
#include "engine/view_parameters.h"

namespace morv {

OneBasedArray<TPoint3D, MaxControls> RotatedControls;
OneBasedArray<TPoint3D, MaxRenderPoints> RenderPoints;
OneBasedArray<TRenderPolygon, MaxRenderPolygons> RenderPolygons;
OneBasedArray<TRenderPolygon, MaxRenderPolygons> VisiblePolygons;
OneBasedArray<TScreenPoint, MaxRenderPoints> ScreenPoints = [] {
  // A point whose very first projection fails stays at the view centre.
  OneBasedArray<TScreenPoint, MaxRenderPoints> points;
  for (int32_t i = 1; i <= MaxRenderPoints; ++i) points[i] = {180, 180};
  return points;
}();
int32_t PointCount = 0;
int32_t PolygonCount = 0;
int32_t VisibleCount = 0;

int32_t RenderAngleX = 0;
int32_t RenderAngleY = 0;
int32_t RenderAngleZ = 0;
TRenderCanvas* TargetCanvas = nullptr;

namespace {

struct SortEntry {
  int64_t key;
  int32_t slot;
};

// The sort works on compact key records and moves the polygons once at the end.
std::array<SortEntry, MaxRenderPolygons + 2> SortKeys;
std::array<TRenderPolygon, MaxRenderPolygons + 1> SortScratch;
// Pending ranges are disjoint, so there are never more of them than entries plus one.
std::array<std::pair<int32_t, int32_t>, 2 * MaxRenderPolygons + 4> SortStack;

int32_t Partition(int32_t lo, int32_t hi) {
  const int64_t pivot = SortKeys[lo].key;
  int32_t i = lo;
  int32_t j = hi;
  while (j > i) {
    while (i <= hi && SortKeys[i].key <= pivot) ++i;
    while (SortKeys[j].key > pivot) --j;
    if (j > i) std::swap(SortKeys[i], SortKeys[j]);
  }
  std::swap(SortKeys[lo], SortKeys[j]);
  return j;
}

bool AllKeysEqual(int32_t lo, int32_t hi) {
  for (int32_t k = lo + 1; k <= hi; ++k) {
    if (SortKeys[k].key != SortKeys[lo].key) return false;
  }
  return true;
}

void SortKeyRange(int32_t lo, int32_t hi) {
  // An explicit stack: the partition degrades to one entry per level on equal or ordered keys,
  // which would recurse thousands of frames deep.
  std::size_t pending = 0;
  SortStack[pending++] = {lo, hi};
  while (pending > 0) {
    auto [l, h] = SortStack[--pending];
    if (l >= h) continue;
    if (AllKeysEqual(l, h)) {
      // On equal keys every partition swaps its first and last entry and leaves the rest to the
      // next level, which amounts to turning the range left by one.
      std::rotate(SortKeys.begin() + l, SortKeys.begin() + l + 1, SortKeys.begin() + h + 1);
      continue;
    }
    const int32_t p = Partition(l, h);
    SortStack[pending++] = {l, p - 1};
    SortStack[pending++] = {p + 1, h};
  }
}

void TessellatePatch(const TBezierPatch& patch) {
  const int32_t base = PointCount;
  if (PatchIsDrawable(patch, SceneObject.ControlCount)) {
    const auto& ci = patch.ControlIndex;
    TessellateCurve(RotatedControls[ci[1]], RotatedControls[ci[2]], RotatedControls[ci[3]],
                    RotatedControls[ci[4]], &RenderPoints[base + 1]);
    TessellateCurve(RotatedControls[ci[5]], RotatedControls[ci[6]], RotatedControls[ci[7]],
                    RotatedControls[ci[8]], &RenderPoints[base + 1 + PointsPerCurve]);
  } else {
    for (int32_t k = 1; k <= PointsPerPatch; ++k) RenderPoints[base + k] = {};
  }
  PointCount += PointsPerPatch;
  for (const auto& row : QuadTemplate) {
    TRenderPolygon& polygon = RenderPolygons[++PolygonCount];
    for (int32_t c = 0; c < 4; ++c) polygon.Corner[c + 1] = base + row[c];
    polygon.Colour = patch.Colour;
  }
}

}  // namespace

int64_t PolygonDepth(int32_t k) {
  const TRenderPolygon& polygon = VisiblePolygons[k];
  int64_t depth = 0;
  for (int32_t c = 1; c <= 4; ++c) depth += RenderPoints[polygon.Corner[c]].Z;
  return depth;
}

void ZorbalQuickSort(int32_t lo, int32_t hi) {
  if (lo < 1 || hi > VisibleCount || lo >= hi) return;
  for (int32_t k = lo; k <= hi; ++k) SortKeys[k] = {PolygonDepth(k), k};
  SortKeyRange(lo, hi);
  for (int32_t k = lo; k <= hi; ++k) SortScratch[k] = VisiblePolygons[SortKeys[k].slot];
  for (int32_t k = lo; k <= hi; ++k) VisiblePolygons[k] = SortScratch[k];
}

TRenderReport RenderModel(int32_t angleX, int32_t angleY, int32_t angleZ) {
  TRenderReport report;
  const int32_t controls = std::clamp(SceneObject.ControlCount, 0, MaxControls);
  for (int32_t i = 1; i <= controls; ++i) {
    const TControlVertex& c = SceneObject.Controls[i];
    TPoint3D p{c.X, c.Y, c.Z};
    RotatePoint(p, angleX, angleY, angleZ);
    RotatedControls[i] = p;
  }

  PointCount = 0;
  PolygonCount = 0;
  const int32_t patches = std::clamp(SceneObject.PatchCount, 0, MaxPatches);
  for (int32_t i = 1; i <= patches; ++i) TessellatePatch(SceneObject.Patches[i]);

  if (TargetCanvas == nullptr) return report;
  TPixelBuffer image = TargetCanvas->Pixels();
  FillRectangle(image, 0, 0, TargetWidth, TargetHeight, ColourToPixel(BackgroundColour));

  std::optional<TVector3D> light = NormaliseLight();
  if (!light) {
    report.LightFailed = true;
    light = TVector3D{0, 0, -1};
  }

  bool projectionFailed = false;
  for (int32_t i = 1; i <= PointCount; ++i) {
    if (!ProjectPoint(RenderPoints[i], ScreenPoints[i])) projectionFailed = true;
  }
  // One notice per render is enough: each failed point would write the same text at (0, 0).
  if (projectionFailed) TargetCanvas->TextOut(0, 0, ProjectionErrorText);

  if (PolygonCount == 0) return report;

  VisibleCount = 0;
  for (int32_t i = 1; i <= PolygonCount; ++i) {
    const TRenderPolygon& polygon = RenderPolygons[i];
    if (FacingValue(RenderPoints[polygon.Corner[1]], RenderPoints[polygon.Corner[2]],
                    RenderPoints[polygon.Corner[3]]) < 0) {
      VisiblePolygons[++VisibleCount] = polygon;
    }
  }

  if (VisibleCount > 3) {
    try {
      ZorbalQuickSort(1, VisibleCount);
    } catch (...) {
      report.SortCrashed = true;
      return report;
    }
  }

  for (int32_t i = 1; i <= VisibleCount; ++i) {
    const TRenderPolygon& polygon = VisiblePolygons[i];
    const TPoint3D& a = RenderPoints[polygon.Corner[1]];
    ComputeNormal(a, RenderPoints[polygon.Corner[2]], RenderPoints[polygon.Corner[3]]);
    const double d = ShadeFactor(*light);
    const THSL hsl = RGBToHSL(polygon.Colour);
    const int32_t colour = HSLToRGB(hsl.H, hsl.S, hsl.L * d);
    const TScreenPoint corners[4] = {
        ScreenPoints[polygon.Corner[1]], ScreenPoints[polygon.Corner[2]],
        ScreenPoints[polygon.Corner[3]], ScreenPoints[polygon.Corner[4]]};
    FillPolygon(image, corners, 4, ColourToPixel(colour));
  }
  return report;
}

TGraphicsThread::~TGraphicsThread() { Join(); }

void TGraphicsThread::Start() {
  thread_ = std::thread([this] { Execute(); });
}

void TGraphicsThread::Join() {
  if (thread_.joinable()) thread_.join();
}

TRenderReport TGraphicsThread::Execute() {
  TRenderReport report;
  if (TargetCanvas != nullptr) {
    TargetCanvas->Lock();
    report = RenderModel(RenderAngleX, RenderAngleY, RenderAngleZ);
    TargetCanvas->Unlock();
  }
  terminated_.store(true);
  return report;
}

}  // namespace morv
