// Models handed to other programs: the mesh, OBJ and binary STL, against the renderer's own cut.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "engine/angle_tables.h"
#include "engine/export_mesh.h"
#include "engine/obj_export.h"
#include "engine/renderer.h"
#include "engine/stl_export.h"
#include "engine/view_parameters.h"

namespace morv::test {
namespace {

// A flat square patch in the plane z = 0: its first curve along y = 0, its second along y = 30;
// `flipped` swaps the curves, which turns the patch over.
TMorvObject FlatPatch(bool flipped, int32_t colour = 0x0080FF) {
  TMorvObject m;
  m.ControlCount = 8;
  for (int32_t k = 0; k < 4; ++k) {
    m.Controls[k + 1] = {10 * k, 0, 0};
    m.Controls[k + 5] = {10 * k, 30, 0};
  }
  m.PatchCount = 1;
  for (int32_t k = 1; k <= 8; ++k) m.Patches[1].ControlIndex[k] = flipped ? (k + 3) % 8 + 1 : k;
  m.Patches[1].Colour = colour;
  return m;
}

struct StlTriangle {
  float normal[3];
  float corners[3][3];
};

std::vector<StlTriangle> ReadStl(const std::string& bytes) {
  EXPECT_GE(bytes.size(), 84u);
  EXPECT_NE(bytes.compare(0, 5, "solid"), 0) << "a binary STL must not look like a text one";
  uint32_t count = 0;
  for (int i = 3; i >= 0; --i) count = count << 8 | static_cast<uint8_t>(bytes[80 + i]);
  EXPECT_EQ(bytes.size(), 84u + 50u * count);
  std::vector<StlTriangle> triangles(count);
  for (uint32_t t = 0; t < count && bytes.size() == 84u + 50u * count; ++t) {
    std::memcpy(&triangles[t], bytes.data() + 84 + 50 * t, sizeof(StlTriangle));
  }
  return triangles;
}

// How many of the patch's quadrilaterals the 3D view shows with all angles 0.
int32_t VisibleAtRest(const TMorvObject& model) {
  MakeAngleTables();
  SetStartViewParameters();
  TMemoryCanvas canvas(360, 360);
  TargetCanvas = &canvas;
  SceneObject = model;
  VisibleCount = 0;
  RenderModel(0, 0, 0);
  TargetCanvas = nullptr;
  return VisibleCount;
}

TEST(ModelExportTest, NormalsPointToWhereTheViewSeesThePatchFrom) {
  for (const bool flipped : {false, true}) {
    const TMorvObject model = FlatPatch(flipped);
    const std::vector<StlTriangle> triangles = ReadStl(ExportBinaryStl(ExportPatches(model)));
    ASSERT_EQ(triangles.size(), 24u);
    // Facing the viewer means a normal towards +z, where the view looks from.
    const float z = VisibleAtRest(model) == PolygonsPerPatch ? 1.0f : -1.0f;
    EXPECT_EQ(VisibleAtRest(model), flipped ? PolygonsPerPatch : 0);
    for (const StlTriangle& t : triangles) {
      EXPECT_EQ(t.normal[0], 0.0f);
      EXPECT_EQ(t.normal[1], 0.0f);
      EXPECT_EQ(t.normal[2], z) << (flipped ? "flipped" : "upright");
      for (const auto& corner : t.corners) EXPECT_EQ(corner[2], 0.0f);
    }
  }
}

TEST(ModelExportTest, PointsAreTheRenderersUnrotatedPoints) {
  TMorvObject model = FlatPatch(false);
  model.Controls[2] = {7, -3, 11};  // bend the first curve
  model.Controls[7] = {19, 44, -5};
  SceneObject = model;
  MakeAngleTables();
  SetStartViewParameters();
  RenderModel(0, 0, 0);
  const std::vector<TExportPatch> patches = ExportPatches(model);
  ASSERT_EQ(patches.size(), 1u);
  for (int32_t k = 0; k < PointsPerPatch; ++k) {
    EXPECT_EQ(patches[0].Points[static_cast<std::size_t>(k)], RenderPoints[k + 1]) << k;
  }
}

TEST(ModelExportTest, ObjHasOneGroupPerDrawnPatchAndOneMaterialPerColour) {
  // Red B4, green 60, blue 28: stored with red in the lowest byte, named with red first.
  TMorvObject model = FlatPatch(false, 0x2860B4);
  model.Name = "Caf\xE9";
  model.PatchCount = 4;
  model.Patches[2] = model.Patches[1];  // the same colour again
  model.Patches[3] = model.Patches[1];
  model.Patches[3].ControlIndex[5] = 9;  // names a vertex the model lacks: drawn by nobody
  model.Patches[4] = model.Patches[1];
  model.Patches[4].Colour = 0x000000;

  const TObjFiles files = ExportObj(model.Name, ExportPatches(model), "m.mtl");
  const std::string& obj = files.Obj;
  auto count = [&](const std::string& prefix) {
    std::size_t n = 0;
    for (std::size_t at = obj.find("\n" + prefix); at != std::string::npos;
         at = obj.find("\n" + prefix, at + 1)) {
      ++n;
    }
    return n;
  };
  EXPECT_EQ(obj.rfind("# Morv! 5 model Caf\xC3\xA9\n", 0), 0u);
  EXPECT_NE(obj.find("\nmtllib m.mtl\n"), std::string::npos);
  EXPECT_EQ(count("g "), 3u);
  EXPECT_NE(obj.find("\ng patch1\nusemtl colour_B46028\n"), std::string::npos);
  EXPECT_NE(obj.find("\ng patch4\nusemtl colour_000000\n"), std::string::npos);
  EXPECT_EQ(obj.find("g patch3"), std::string::npos);
  EXPECT_EQ(count("v "), 3u * PointsPerPatch);
  EXPECT_EQ(count("f "), 3u * PolygonsPerPatch);
  // Faces count vertices from 1 across the whole file: the last patch's first quadrilateral.
  EXPECT_NE(obj.find("\nf 66 67 54 53\n"), std::string::npos);
  EXPECT_EQ(files.Mtl,
            "# Morv! 5 patch colours\n"
            "newmtl colour_000000\nKd 0.0000 0.0000 0.0000\n"
            "newmtl colour_B46028\nKd 0.7059 0.3765 0.1569\n");
}

TEST(ModelExportTest, AnEmptyModelGivesEmptyButValidFiles) {
  const TMorvObject empty;
  EXPECT_TRUE(ReadStl(ExportBinaryStl(ExportPatches(empty))).empty());
  EXPECT_EQ(ExportObj(empty.Name, ExportPatches(empty), "e.mtl").Obj.find("\nv "),
            std::string::npos);
}

}  // namespace
}  // namespace morv::test
