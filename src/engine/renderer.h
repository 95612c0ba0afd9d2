// The patch renderer: tessellation into shaded quadrilaterals, culling, depth sort and filling.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <thread>

#include "engine/model.h"
#include "engine/one_based_array.h"
#include "engine/render_canvas.h"
#include "engine/render_state.h"
#include "engine/vector_types.h"

namespace morv {

// The main render state's members under the names the windows use.
extern OneBasedArray<TPoint3D, MaxControls>& RotatedControls;
extern OneBasedArray<TPoint3D, MaxRenderPoints>& RenderPoints;
extern OneBasedArray<TRenderPolygon, MaxRenderPolygons>& RenderPolygons;
extern OneBasedArray<TRenderPolygon, MaxRenderPolygons>& VisiblePolygons;
extern OneBasedArray<TScreenPoint, MaxRenderPoints>& ScreenPoints;
extern int32_t& PointCount;
extern int32_t& PolygonCount;
extern int32_t& VisibleCount;

extern int32_t& RenderAngleX;
extern int32_t& RenderAngleY;
extern int32_t& RenderAngleZ;
extern TRenderCanvas*& TargetCanvas;

inline constexpr const char* LightErrorText = "Morv! 3D Error! Division by 0 in LightVector.";
inline constexpr const char* ProjectionErrorText = "Morv! 3D Error! Division by 0 in 3D.";
inline constexpr const char* SortCrashText = "The ZorbalQuickSort has crashed.";

// What went wrong during a render, for the user-interface thread to show once it is done. A zero
// light vector lights the scene straight from the viewer; a crashed sort ends the program.
struct TRenderReport {
  bool LightFailed = false;
  bool SortCrashed = false;
};

// Renders the state's SceneObject onto its TargetCanvas from whole-degree angles, using and
// changing nothing outside the state. Patches whose control indices name no vertex of the snapshot
// are counted but give degenerate polygons that are never drawn.
// The steps of a render, which pictures of other sizes share: the snapshot rotated and cut into
// polygons; the polygons that face the viewer, depth-sorted (false when the sort crashed); a
// polygon's shaded pixel under the unit light, leaving its normal in `normal`; the unit light of a
// light vector, or the viewer's direction with LightFailed set for a zero one.
void TessellateScene(TRenderState& state, int32_t angleX, int32_t angleY, int32_t angleZ);
bool SortVisiblePolygons(TRenderState& state);
uint32_t ShadedPixel(const TRenderState& state, const TRenderPolygon& polygon,
                     const TVector3D& light, TVector3D& normal);
std::optional<TVector3D> SceneLight(const TPoint3D& light, TRenderReport& report);

TRenderReport RenderModel(TRenderState& state, int32_t angleX, int32_t angleY, int32_t angleZ);
// The same on the main render state.
TRenderReport RenderModel(int32_t angleX, int32_t angleY, int32_t angleZ);

// Sorts the state's VisiblePolygons[lo..hi] by ascending PolygonDepth with the quicksort whose
// partition keeps the first entry as pivot; equal keys end up in the order that partition gives
// them.
void ZorbalQuickSort(TRenderState& state, int32_t lo, int32_t hi);
void ZorbalQuickSort(int32_t lo, int32_t hi);

// The sum of the view-space z of the four corners of the state's VisiblePolygons[k].
int64_t PolygonDepth(const TRenderState& state, int32_t k);
int64_t PolygonDepth(int32_t k);

// The render worker: renders its state's SceneObject with the state's render angles while holding
// the canvas lock, on a thread of its own (Start) or on the caller's (Execute). The snapshot and
// the angles must not change until the worker is joined. Without a state it renders on the main
// one.
class TGraphicsThread {
 public:
  TGraphicsThread() : TGraphicsThread(MainRenderState) {}
  explicit TGraphicsThread(TRenderState& state) : state_(&state) {}
  TGraphicsThread(const TGraphicsThread&) = delete;
  TGraphicsThread& operator=(const TGraphicsThread&) = delete;
  ~TGraphicsThread();

  void Start();
  void Join();
  TRenderReport Execute();
  bool Terminated() const { return terminated_.load(); }

 private:
  TRenderState* state_;
  std::thread thread_;
  std::atomic<bool> terminated_{false};
};

}  // namespace morv
