// The model's patches as a mesh for other programs: the renderer's points, unrotated.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/model.h"
#include "engine/patch_tessellation.h"
#include "engine/vector_types.h"

namespace morv {

// How a format writes coordinates: as the whole numbers they are, or as 32-bit floats, which
// hold every whole number only up to 2^24 and bring points further out together.
enum class TCoordinates { Exact, Float32 };

// A quadrilateral of a patch as the polygon of its distinct corners in their order, as indices
// into the patch's points. Where curves meet in a point a quadrilateral loses corners.
struct TExportFace {
  std::array<int32_t, 4> Corners{};
  int32_t CornerCount = 0;
};

struct TExportPatch {
  int32_t Index = 0;   // the patch's number in the model
  int32_t Colour = 0;  // red in the lowest byte
  std::array<TPoint3D, PointsPerPatch> Points;
  std::vector<TExportFace> Faces;  // never empty
  // As the file holds the points: faces and triangles of no area there are left out.
  TCoordinates Coordinates = TCoordinates::Exact;
};

// Corners of a triangle as indices into its patch's points.
using TExportTriangle = std::array<int32_t, 3>;

// One file of an export: its name beside the file asked for, and its bytes.
struct TExportFile {
  std::string Name;
  std::string Bytes;
};

// What an export writes, companions before the file asked for, and the line that counts it.
struct TExportOutput {
  std::vector<TExportFile> Files;
  std::string Summary;
};

// Every patch the renderer draws, in index order, cut into points exactly as the renderer cuts
// it with all angles 0. Patches naming a vertex the model lacks draw nothing and are left out, and
// so are patches all of whose quadrilaterals have no area with the points written as
// `coordinates` says.
std::vector<TExportPatch> ExportPatches(const TMorvObject& model,
                                        TCoordinates coordinates = TCoordinates::Exact);

// True when the triangle has no area: two corners coincide or all three lie on one line, with
// the points written as `coordinates` says.
bool TriangleIsDegenerate(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c,
                          TCoordinates coordinates = TCoordinates::Exact);

// The face cut into triangles fanning out from its first corner, leaving out those of no area;
// every face has at least one.
std::vector<TExportTriangle> FaceTriangles(const TExportPatch& patch, const TExportFace& face);

// How many triangles FaceTriangles gives for all faces of the patches.
int64_t TriangleCount(const std::vector<TExportPatch>& patches);

// The unit normal of the triangle a, b, c on the side from which a, b, c run anticlockwise: the
// side the 3D view shows. Zero for a degenerate triangle.
TVector3D FrontNormal(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c);

// The colour's name as other programs write colours, red first: "colour_B46028" is red B4,
// green 60, blue 28.
std::string ColourName(int32_t colour);

// The part of a file name before its last dot, where a companion file takes its own suffix.
std::string FileBaseName(const std::string& fileName);

}  // namespace morv
