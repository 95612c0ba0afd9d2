// The model's patches as a mesh for other programs: the renderer's points, unrotated.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/model.h"
#include "engine/patch_tessellation.h"
#include "engine/vector_types.h"

namespace morv {

struct TExportPatch {
  int32_t Index = 0;   // the patch's number in the model
  int32_t Colour = 0;  // red in the lowest byte
  std::array<TPoint3D, PointsPerPatch> Points;
};

// Every patch the renderer draws, in index order, cut into points exactly as the renderer cuts
// it with all angles 0. Patches naming a vertex the model lacks draw nothing and are left out.
std::vector<TExportPatch> ExportPatches(const TMorvObject& model);

// The unit normal of the triangle a, b, c on the side from which a, b, c run anticlockwise: the
// side the 3D view shows. Zero for a degenerate triangle.
TVector3D FrontNormal(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c);

}  // namespace morv
