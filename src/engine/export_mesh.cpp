// The model's patches as a mesh for other programs: the renderer's points, unrotated.
#include "engine/export_mesh.h"

#include <algorithm>
#include <cmath>

namespace morv {

std::vector<TExportPatch> ExportPatches(const TMorvObject& model) {
  std::vector<TExportPatch> patches;
  const int32_t count = std::clamp(model.PatchCount, 0, MaxPatches);
  const int32_t controls = std::clamp(model.ControlCount, 0, MaxControls);
  for (int32_t i = 1; i <= count; ++i) {
    const TBezierPatch& patch = model.Patches[i];
    if (!PatchIsDrawable(patch, controls)) continue;
    patches.push_back({i, patch.Colour & 0xFFFFFF, PatchPoints(model, patch)});
  }
  return patches;
}

TVector3D FrontNormal(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c) {
  // In doubles: coordinates of 32 bits give products well inside their range, and the direction
  // is all that is kept.
  const double ux = static_cast<double>(b.X) - a.X;
  const double uy = static_cast<double>(b.Y) - a.Y;
  const double uz = static_cast<double>(b.Z) - a.Z;
  const double vx = static_cast<double>(c.X) - a.X;
  const double vy = static_cast<double>(c.Y) - a.Y;
  const double vz = static_cast<double>(c.Z) - a.Z;
  const double x = uy * vz - uz * vy;
  const double y = uz * vx - ux * vz;
  const double z = ux * vy - uy * vx;
  const double length = std::sqrt(x * x + y * y + z * z);
  if (length == 0 || !std::isfinite(length)) return {};
  return {x / length, y / length, z / length};
}

}  // namespace morv
