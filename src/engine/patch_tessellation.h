// A patch's two edge curves cut into the 26 points its 12 quadrilaterals stand on.
#pragma once

#include <array>
#include <cstdint>

#include "engine/model.h"
#include "engine/vector_types.h"

namespace morv {

constexpr int32_t PointsPerPatch = 26;
constexpr int32_t PolygonsPerPatch = 12;
constexpr int32_t PointsPerCurve = 13;

// Row k numbers the corners of quadrilateral k of a patch from its first point: points 1..13 are
// the first edge curve, 14..26 the second.
extern const int32_t QuadTemplate[PolygonsPerPatch][4];

// The 13 points of a cubic curve after two halvings, rounded to whole units, into out[0..12].
void TessellateCurve(const TPoint3D& c0, const TPoint3D& c1, const TPoint3D& c2, const TPoint3D& c3,
                     TPoint3D* out);

// True when all eight control indices of the patch name vertices 1..controlCount.
bool PatchIsDrawable(const TBezierPatch& patch, int32_t controlCount);

// The 26 points of a drawable patch in model coordinates: [0..12] the first edge curve, [13..25]
// the second.
std::array<TPoint3D, PointsPerPatch> PatchPoints(const TMorvObject& model,
                                                 const TBezierPatch& patch);

}  // namespace morv
