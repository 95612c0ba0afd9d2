// The patch renderer: tessellation into shaded quadrilaterals, culling, depth sort and filling.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "engine/model.h"
#include "engine/one_based_array.h"
#include "engine/patch_tessellation.h"
#include "engine/render_canvas.h"
#include "engine/vector_types.h"

namespace morv {

// The work arrays hold every patch a model can have.
constexpr int32_t MaxRenderPoints = PointsPerPatch * MaxPatches;
constexpr int32_t MaxRenderPolygons = PolygonsPerPatch * MaxPatches;

struct TRenderPolygon {
  OneBasedArray<int32_t, 4> Corner;  // indices into RenderPoints and ScreenPoints
  int32_t Colour = 0;
  friend bool operator==(const TRenderPolygon&, const TRenderPolygon&) = default;
};

extern OneBasedArray<TPoint3D, MaxControls> RotatedControls;
extern OneBasedArray<TPoint3D, MaxRenderPoints> RenderPoints;
extern OneBasedArray<TRenderPolygon, MaxRenderPolygons> RenderPolygons;
extern OneBasedArray<TRenderPolygon, MaxRenderPolygons> VisiblePolygons;
extern OneBasedArray<TScreenPoint, MaxRenderPoints> ScreenPoints;
extern int32_t PointCount;
extern int32_t PolygonCount;
extern int32_t VisibleCount;

extern int32_t RenderAngleX;
extern int32_t RenderAngleY;
extern int32_t RenderAngleZ;
extern TRenderCanvas* TargetCanvas;

inline constexpr const char* LightErrorText = "Morv! 3D Error! Division by 0 in LightVector.";
inline constexpr const char* ProjectionErrorText = "Morv! 3D Error! Division by 0 in 3D.";
inline constexpr const char* SortCrashText = "The ZorbalQuickSort has crashed.";

// What went wrong during a render, for the user-interface thread to show once it is done. A zero
// light vector lights the scene straight from the viewer; a crashed sort ends the program.
struct TRenderReport {
  bool LightFailed = false;
  bool SortCrashed = false;
};

// Renders SceneObject onto TargetCanvas from whole-degree angles. Patches whose control indices
// name no vertex of the snapshot are counted but give degenerate polygons that are never drawn.
TRenderReport RenderModel(int32_t angleX, int32_t angleY, int32_t angleZ);

// Sorts VisiblePolygons[lo..hi] by ascending PolygonDepth with the quicksort whose partition keeps
// the first entry as pivot; equal keys end up in the order that partition gives them.
void ZorbalQuickSort(int32_t lo, int32_t hi);

// The sum of the view-space z of the four corners of VisiblePolygons[k].
int64_t PolygonDepth(int32_t k);

// The render worker: renders SceneObject with the stored render angles while holding the canvas
// lock, on a thread of its own (Start) or on the caller's (Execute). SceneObject and the angles
// must not change until the worker is joined.
class TGraphicsThread {
 public:
  TGraphicsThread() = default;
  TGraphicsThread(const TGraphicsThread&) = delete;
  TGraphicsThread& operator=(const TGraphicsThread&) = delete;
  ~TGraphicsThread();

  void Start();
  void Join();
  TRenderReport Execute();
  bool Terminated() const { return terminated_.load(); }

 private:
  std::thread thread_;
  std::atomic<bool> terminated_{false};
};

}  // namespace morv
