// A patch's two edge curves cut into the 26 points its 12 quadrilaterals stand on.
#include "engine/patch_tessellation.h"

#include "engine/vector_maths.h"

namespace morv {

const int32_t QuadTemplate[PolygonsPerPatch][4] = {
    {14, 15, 2, 1},  {15, 16, 3, 2},   {16, 17, 4, 3},   {17, 18, 5, 4},
    {18, 19, 6, 5},  {19, 20, 7, 6},   {20, 21, 8, 7},   {21, 22, 9, 8},
    {22, 23, 10, 9}, {23, 24, 11, 10}, {24, 25, 12, 11}, {25, 26, 13, 12}};

void TessellateCurve(const TPoint3D& c0, const TPoint3D& c1, const TPoint3D& c2, const TPoint3D& c3,
                     TPoint3D* out) {
  const auto r = SubdivideBezier(ToVector(c0), ToVector(c1), ToVector(c2), ToVector(c3));
  const auto l = SubdivideBezier(r[0], r[1], r[2], r[3]);
  const auto m = SubdivideBezier(r[3], r[4], r[5], r[6]);
  for (int k = 0; k < 6; ++k) out[k] = RoundVector(l[k]);
  for (int k = 0; k < 7; ++k) out[6 + k] = RoundVector(m[k]);
}

bool PatchIsDrawable(const TBezierPatch& patch, int32_t controlCount) {
  for (int32_t k = 1; k <= PatchControlCount; ++k) {
    const int32_t index = patch.ControlIndex[k];
    if (index < 1 || index > controlCount || index > MaxControls) return false;
  }
  return true;
}

std::array<TPoint3D, PointsPerPatch> PatchPoints(const TMorvObject& model,
                                                 const TBezierPatch& patch) {
  TPoint3D c[PatchControlCount];
  for (int32_t k = 0; k < PatchControlCount; ++k) {
    const TControlVertex& v = model.Controls[patch.ControlIndex[k + 1]];
    c[k] = {v.X, v.Y, v.Z};
  }
  std::array<TPoint3D, PointsPerPatch> points;
  TessellateCurve(c[0], c[1], c[2], c[3], points.data());
  TessellateCurve(c[4], c[5], c[6], c[7], points.data() + PointsPerCurve);
  return points;
}

}  // namespace morv
