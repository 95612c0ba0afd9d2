// Everything a render changes while it runs, held in one value so that renders may run side by
// side.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "engine/model.h"
#include "engine/one_based_array.h"
#include "engine/patch_tessellation.h"
#include "engine/render_canvas.h"
#include "engine/vector_types.h"
#include "engine/view_parameters.h"

namespace morv {

// The work arrays hold every patch a model can have.
constexpr int32_t MaxRenderPoints = PointsPerPatch * MaxPatches;
constexpr int32_t MaxRenderPolygons = PolygonsPerPatch * MaxPatches;

struct TRenderPolygon {
  OneBasedArray<int32_t, 4> Corner;  // indices into RenderPoints and ScreenPoints
  int32_t Colour = 0;
  friend bool operator==(const TRenderPolygon&, const TRenderPolygon&) = default;
};

// One record of the depth sort, which orders compact keys and moves the polygons once at the end.
// A plain aggregate, so that turning a range of equal keys is one block move.
struct TSortEntry {
  int64_t Key;
  int32_t Slot;
};

// The working state of one renderer: the snapshot it draws, the view it draws it with, the canvas
// and every buffer a render fills. A render reads and writes nothing else that can change, so two
// states may render on two threads at once. The windows render on MainRenderState.
struct TRenderState {
  // Every screen point starts at the view centre, where a point whose very first projection fails
  // stays.
  TRenderState();

  TMorvObject SceneObject;
  TViewParameters View;
  TRenderCanvas* TargetCanvas = nullptr;
  // The angles a worker renders with.
  int32_t RenderAngleX = 0;
  int32_t RenderAngleY = 0;
  int32_t RenderAngleZ = 0;

  OneBasedArray<TPoint3D, MaxControls> RotatedControls;
  OneBasedArray<TPoint3D, MaxRenderPoints> RenderPoints;
  OneBasedArray<TRenderPolygon, MaxRenderPolygons> RenderPolygons;
  OneBasedArray<TRenderPolygon, MaxRenderPolygons> VisiblePolygons;
  OneBasedArray<TScreenPoint, MaxRenderPoints> ScreenPoints;
  int32_t PointCount = 0;
  int32_t PolygonCount = 0;
  int32_t VisibleCount = 0;
  // The unit normal of the polygon being shaded.
  TVector3D NormalVector;

  std::array<TSortEntry, MaxRenderPolygons + 2> SortKeys;
  std::array<TRenderPolygon, MaxRenderPolygons + 1> SortScratch;
  // Pending ranges are disjoint, so there are never more of them than entries plus one.
  std::array<std::pair<int32_t, int32_t>, 2 * MaxRenderPolygons + 4> SortStack;
};

// The state of the program's 3D view. The names RenderPoints, PointCount, ViewScale, SceneObject,
// TargetCanvas and the others name its members.
extern TRenderState MainRenderState;

}  // namespace morv
