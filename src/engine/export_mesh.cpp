// The model's patches as a mesh for other programs: the renderer's points, unrotated.
#include "engine/export_mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace morv {

namespace {

using TPatchPoints = std::array<TPoint3D, PointsPerPatch>;

std::vector<TExportTriangle> Fan(const TPatchPoints& points, const TExportFace& face,
                                 TCoordinates coordinates) {
  std::vector<TExportTriangle> triangles;
  auto point = [&](int32_t corner) -> const TPoint3D& {
    return points[static_cast<std::size_t>(face.Corners[static_cast<std::size_t>(corner)])];
  };
  for (int32_t k = 1; k + 1 < face.CornerCount; ++k) {
    if (TriangleIsDegenerate(point(0), point(k), point(k + 1), coordinates)) continue;
    triangles.push_back({face.Corners[0], face.Corners[static_cast<std::size_t>(k)],
                         face.Corners[static_cast<std::size_t>(k + 1)]});
  }
  return triangles;
}

// The quadrilateral's distinct corners; it is a face only while they still span an area.
std::optional<TExportFace> QuadFace(const TPatchPoints& points, const int32_t (&quad)[4],
                                    TCoordinates coordinates) {
  TExportFace face;
  for (const int32_t corner : quad) {
    const int32_t index = corner - 1;
    const auto begin = face.Corners.begin();
    const auto end = begin + face.CornerCount;
    if (std::none_of(begin, end, [&](int32_t k) {
          return points[static_cast<std::size_t>(k)] == points[static_cast<std::size_t>(index)];
        })) {
      face.Corners[static_cast<std::size_t>(face.CornerCount++)] = index;
    }
  }
  if (Fan(points, face, coordinates).empty()) return std::nullopt;
  return face;
}

// A coordinate as the file holds it. A 32-bit float turns a whole number beyond 2^24 into the
// nearest multiple of a power of two, a whole number still, though one as large as 2^31.
int64_t Written(int32_t coordinate, TCoordinates coordinates) {
  if (coordinates == TCoordinates::Exact) return coordinate;
  return static_cast<int64_t>(static_cast<float>(coordinate));
}

}  // namespace

std::vector<TExportPatch> ExportPatches(const TMorvObject& model, TCoordinates coordinates) {
  std::vector<TExportPatch> patches;
  const int32_t count = std::clamp(model.PatchCount, 0, MaxPatches);
  const int32_t controls = std::clamp(model.ControlCount, 0, MaxControls);
  for (int32_t i = 1; i <= count; ++i) {
    const TBezierPatch& patch = model.Patches[i];
    if (!PatchIsDrawable(patch, controls)) continue;
    TExportPatch out{i, patch.Colour & 0xFFFFFF, PatchPoints(model, patch), {}, coordinates};
    for (const auto& quad : QuadTemplate) {
      if (const auto face = QuadFace(out.Points, quad, coordinates)) out.Faces.push_back(*face);
    }
    if (!out.Faces.empty()) patches.push_back(std::move(out));
  }
  return patches;
}

bool TriangleIsDegenerate(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c,
                          TCoordinates coordinates) {
  // Exactly, in 128 bits: differences of coordinates up to 2^31 take 33 bits, their products 66.
  using Wide = __int128;
  const auto d = [coordinates](int32_t to, int32_t from) {
    return Wide{Written(to, coordinates)} - Written(from, coordinates);
  };
  const Wide ux = d(b.X, a.X), uy = d(b.Y, a.Y), uz = d(b.Z, a.Z);
  const Wide vx = d(c.X, a.X), vy = d(c.Y, a.Y), vz = d(c.Z, a.Z);
  return uy * vz == uz * vy && uz * vx == ux * vz && ux * vy == uy * vx;
}

std::vector<TExportTriangle> FaceTriangles(const TExportPatch& patch, const TExportFace& face) {
  return Fan(patch.Points, face, patch.Coordinates);
}

int64_t TriangleCount(const std::vector<TExportPatch>& patches) {
  int64_t count = 0;
  for (const TExportPatch& patch : patches) {
    for (const TExportFace& face : patch.Faces) {
      count += static_cast<int64_t>(FaceTriangles(patch, face).size());
    }
  }
  return count;
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

std::string ColourName(int32_t colour) {
  char name[16];
  std::snprintf(name, sizeof name, "colour_%02X%02X%02X", static_cast<unsigned>(colour & 0xFF),
                static_cast<unsigned>((colour >> 8) & 0xFF),
                static_cast<unsigned>((colour >> 16) & 0xFF));
  return name;
}

std::string FileBaseName(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

}  // namespace morv
