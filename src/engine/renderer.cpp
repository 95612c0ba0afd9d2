// The patch renderer: tessellation into shaded quadrilaterals, culling, depth sort and filling.
#include "engine/renderer.h"

#include <algorithm>
#include <array>

#include "engine/hsl_rgb.h"
#include "engine/patch_tessellation.h"
#include "engine/vector_maths.h"

namespace morv {

namespace {

int32_t Partition(std::array<TSortEntry, MaxRenderPolygons + 2>& keys, int32_t lo, int32_t hi) {
  const int64_t pivot = keys[lo].Key;
  int32_t i = lo;
  int32_t j = hi;
  while (j > i) {
    while (i <= hi && keys[i].Key <= pivot) ++i;
    while (keys[j].Key > pivot) --j;
    if (j > i) std::swap(keys[i], keys[j]);
  }
  std::swap(keys[lo], keys[j]);
  return j;
}

bool AllKeysEqual(const std::array<TSortEntry, MaxRenderPolygons + 2>& keys, int32_t lo,
                  int32_t hi) {
  for (int32_t k = lo + 1; k <= hi; ++k) {
    if (keys[k].Key != keys[lo].Key) return false;
  }
  return true;
}

void SortKeyRange(TRenderState& state, int32_t lo, int32_t hi) {
  auto& keys = state.SortKeys;
  auto& stack = state.SortStack;
  // An explicit stack: the partition degrades to one entry per level on equal or ordered keys,
  // which would recurse thousands of frames deep.
  std::size_t pending = 0;
  stack[pending++] = {lo, hi};
  while (pending > 0) {
    auto [l, h] = stack[--pending];
    if (l >= h) continue;
    if (AllKeysEqual(keys, l, h)) {
      // On equal keys every partition swaps its first and last entry and leaves the rest to the
      // next level, which amounts to turning the range left by one.
      std::rotate(keys.begin() + l, keys.begin() + l + 1, keys.begin() + h + 1);
      continue;
    }
    const int32_t p = Partition(keys, l, h);
    stack[pending++] = {l, p - 1};
    stack[pending++] = {p + 1, h};
  }
}

void TessellatePatch(TRenderState& state, const TBezierPatch& patch) {
  auto& RotatedControls = state.RotatedControls;
  auto& RenderPoints = state.RenderPoints;
  const int32_t base = state.PointCount;
  if (PatchIsDrawable(patch, state.SceneObject.ControlCount)) {
    const auto& ci = patch.ControlIndex;
    TessellateCurve(RotatedControls[ci[1]], RotatedControls[ci[2]], RotatedControls[ci[3]],
                    RotatedControls[ci[4]], &RenderPoints[base + 1]);
    TessellateCurve(RotatedControls[ci[5]], RotatedControls[ci[6]], RotatedControls[ci[7]],
                    RotatedControls[ci[8]], &RenderPoints[base + 1 + PointsPerCurve]);
  } else {
    for (int32_t k = 1; k <= PointsPerPatch; ++k) RenderPoints[base + k] = {};
  }
  state.PointCount += PointsPerPatch;
  for (const auto& row : QuadTemplate) {
    TRenderPolygon& polygon = state.RenderPolygons[++state.PolygonCount];
    for (int32_t c = 0; c < 4; ++c) polygon.Corner[c + 1] = base + row[c];
    polygon.Colour = patch.Colour;
  }
}

}  // namespace

int64_t PolygonDepth(const TRenderState& state, int32_t k) {
  const TRenderPolygon& polygon = state.VisiblePolygons[k];
  int64_t depth = 0;
  for (int32_t c = 1; c <= 4; ++c) depth += state.RenderPoints[polygon.Corner[c]].Z;
  return depth;
}

int64_t PolygonDepth(int32_t k) { return PolygonDepth(MainRenderState, k); }

void ZorbalQuickSort(TRenderState& state, int32_t lo, int32_t hi) {
  if (lo < 1 || hi > state.VisibleCount || lo >= hi) return;
  auto& VisiblePolygons = state.VisiblePolygons;
  for (int32_t k = lo; k <= hi; ++k) state.SortKeys[k] = {PolygonDepth(state, k), k};
  SortKeyRange(state, lo, hi);
  for (int32_t k = lo; k <= hi; ++k) state.SortScratch[k] = VisiblePolygons[state.SortKeys[k].Slot];
  for (int32_t k = lo; k <= hi; ++k) VisiblePolygons[k] = state.SortScratch[k];
}

void ZorbalQuickSort(int32_t lo, int32_t hi) { ZorbalQuickSort(MainRenderState, lo, hi); }

void TessellateScene(TRenderState& state, int32_t angleX, int32_t angleY, int32_t angleZ) {
  const TMorvObject& scene = state.SceneObject;
  const int32_t controls = std::clamp(scene.ControlCount, 0, MaxControls);
  for (int32_t i = 1; i <= controls; ++i) {
    const TControlVertex& c = scene.Controls[i];
    TPoint3D p{c.X, c.Y, c.Z};
    RotatePoint(p, angleX, angleY, angleZ);
    state.RotatedControls[i] = p;
  }
  state.PointCount = 0;
  state.PolygonCount = 0;
  const int32_t patches = std::clamp(scene.PatchCount, 0, MaxPatches);
  for (int32_t i = 1; i <= patches; ++i) TessellatePatch(state, scene.Patches[i]);
}

bool SortVisiblePolygons(TRenderState& state) {
  state.VisibleCount = 0;
  for (int32_t i = 1; i <= state.PolygonCount; ++i) {
    const TRenderPolygon& polygon = state.RenderPolygons[i];
    if (FacingValue(state.RenderPoints[polygon.Corner[1]], state.RenderPoints[polygon.Corner[2]],
                    state.RenderPoints[polygon.Corner[3]]) < 0) {
      state.VisiblePolygons[++state.VisibleCount] = polygon;
    }
  }
  if (state.VisibleCount > 3) {
    try {
      ZorbalQuickSort(state, 1, state.VisibleCount);
    } catch (...) {
      return false;
    }
  }
  return true;
}

uint32_t ShadedPixel(const TRenderState& state, const TRenderPolygon& polygon,
                     const TVector3D& light, TVector3D& normal) {
  ComputeNormal(normal, state.RenderPoints[polygon.Corner[1]],
                state.RenderPoints[polygon.Corner[2]], state.RenderPoints[polygon.Corner[3]]);
  const double d = ShadeFactor(normal, light);
  const THSL hsl = RGBToHSL(polygon.Colour);
  return ColourToPixel(HSLToRGB(hsl.H, hsl.S, hsl.L * d));
}

std::optional<TVector3D> SceneLight(const TPoint3D& light, TRenderReport& report) {
  std::optional<TVector3D> unit = NormaliseLight(light);
  if (!unit) {
    report.LightFailed = true;
    unit = TVector3D{0, 0, -1};
  }
  return unit;
}

TRenderReport RenderModel(TRenderState& state, int32_t angleX, int32_t angleY, int32_t angleZ) {
  const TViewParameters& view = state.View;
  TRenderReport report;
  TessellateScene(state, angleX, angleY, angleZ);

  TRenderCanvas* const canvas = state.TargetCanvas;
  if (canvas == nullptr) return report;
  TPixelBuffer image = canvas->Pixels();
  FillRectangle(image, 0, 0, view.TargetWidth, view.TargetHeight,
                ColourToPixel(view.BackgroundColour));
  const std::optional<TVector3D> light = SceneLight(view.LightVector, report);

  bool projectionFailed = false;
  for (int32_t i = 1; i <= state.PointCount; ++i) {
    if (!ProjectPoint(view, state.RenderPoints[i], state.ScreenPoints[i])) projectionFailed = true;
  }
  // One notice per render is enough: each failed point would write the same text at (0, 0).
  if (projectionFailed) canvas->TextOut(0, 0, ProjectionErrorText);

  if (state.PolygonCount == 0) return report;
  if (!SortVisiblePolygons(state)) {
    report.SortCrashed = true;
    return report;
  }

  // The normal lives on the stack while the polygons are shaded; the state keeps the last one.
  TVector3D normal = state.NormalVector;
  for (int32_t i = 1; i <= state.VisibleCount; ++i) {
    const TRenderPolygon& polygon = state.VisiblePolygons[i];
    const uint32_t pixel = ShadedPixel(state, polygon, *light, normal);
    const TScreenPoint corners[4] = {
        state.ScreenPoints[polygon.Corner[1]], state.ScreenPoints[polygon.Corner[2]],
        state.ScreenPoints[polygon.Corner[3]], state.ScreenPoints[polygon.Corner[4]]};
    FillPolygon(image, corners, 4, pixel);
  }
  state.NormalVector = normal;
  return report;
}

TRenderReport RenderModel(int32_t angleX, int32_t angleY, int32_t angleZ) {
  return RenderModel(MainRenderState, angleX, angleY, angleZ);
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
  TRenderState& state = *state_;
  if (TRenderCanvas* canvas = state.TargetCanvas; canvas != nullptr) {
    canvas->Lock();
    report = RenderModel(state, state.RenderAngleX, state.RenderAngleY, state.RenderAngleZ);
    canvas->Unlock();
  }
  terminated_.store(true);
  return report;
}

}  // namespace morv
