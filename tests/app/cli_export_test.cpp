// morv-cli export: models read back by a widely used 3D importer, and refused arguments.
#include <gtest/gtest.h>
#include <tiny_gltf.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "app/version.h"
#include "cli_capture.h"
#include "engine/export_formats.h"
#include "engine/export_mesh.h"
#include "engine/latin1.h"
#include "operations/model_files.h"
#include "support/file_size_limit.h"
#include "support/test_files.h"

namespace morv {
namespace {

using test::CliResult;
using test::RunCliCapture;
using test::ScratchDir;

// What the importer reports of a file it has read, without post-processing, so every face
// arrives as written.
QString ImportReport(const QString& path) {
  QProcess importer;
  importer.start(QStringLiteral("assimp"), {QStringLiteral("info"), path, QStringLiteral("--raw")});
  EXPECT_TRUE(importer.waitForFinished(60000)) << "assimp did not finish";
  EXPECT_EQ(importer.exitCode(), 0) << importer.readAllStandardError().toStdString();
  return QString::fromUtf8(importer.readAllStandardOutput());
}

QString Field(const QString& report, const QString& name) {
  const QRegularExpression line(QRegularExpression::escape(name) + QStringLiteral(R"(\s+(.*))"));
  return line.match(report).captured(1).trimmed();
}

TEST(CliExport, ObjAndStlReadBackWithTheRenderersPatches) {
  ScratchDir dir;
  const std::string model = test::TestDataPath(QStringLiteral("ring.MVD")).toStdString();
  const std::vector<TExportPatch> patches = ExportPatches(LoadModelFile(model));
  ASSERT_FALSE(patches.empty());
  const auto count = static_cast<int>(patches.size());
  // The ring has quadrilaterals of no area, left out: the faces are those left.
  int faces = 0;
  TPoint3D low{INT32_MAX, INT32_MAX, INT32_MAX}, high{INT32_MIN, INT32_MIN, INT32_MIN};
  for (const TExportPatch& patch : patches) {
    faces += static_cast<int>(patch.Faces.size());
    for (const TExportFace& face : patch.Faces) {
      for (int k = 0; k < face.CornerCount; ++k) {
        const TPoint3D& p =
            patch.Points[static_cast<std::size_t>(face.Corners[static_cast<std::size_t>(k)])];
        low = {std::min(low.X, p.X), std::min(low.Y, p.Y), std::min(low.Z, p.Z)};
        high = {std::max(high.X, p.X), std::max(high.Y, p.Y), std::max(high.Z, p.Z)};
      }
    }
  }
  const auto triangles = static_cast<int>(TriangleCount(patches));
  ASSERT_LT(faces, count * PolygonsPerPatch) << "the ring has faces of no area";
  auto point = [](const TPoint3D& p) {
    return QStringLiteral("(%1.000000 %2.000000 %3.000000)").arg(p.X).arg(p.Y).arg(p.Z);
  };

  const CliResult obj = RunCliCapture({"export", model, dir.Path("ring.obj").toStdString()});
  ASSERT_EQ(obj.code, 0) << obj.err;
  EXPECT_EQ(obj.out, "Patches: " + std::to_string(count) + " Vertices: " +
                         std::to_string(count * 26) + " Faces: " + std::to_string(faces) + "\n");
  const QString objReport = ImportReport(dir.Path("ring.obj"));
  EXPECT_EQ(Field(objReport, QStringLiteral("Meshes:")).toInt(), count);
  EXPECT_EQ(Field(objReport, QStringLiteral("Faces:")).toInt(), faces);
  EXPECT_EQ(Field(objReport, QStringLiteral("Primitive Types:")), QStringLiteral("n-polygons"));
  EXPECT_EQ(Field(objReport, QStringLiteral("Minimum point")), point(low));
  EXPECT_EQ(Field(objReport, QStringLiteral("Maximum point")), point(high));
  // The ring's three colours, and the importer's own default material.
  EXPECT_EQ(Field(objReport, QStringLiteral("Materials:")).toInt(), 4);

  const CliResult stl = RunCliCapture({"export", model, dir.Path("ring.STL").toStdString()});
  ASSERT_EQ(stl.code, 0) << stl.err;
  const QString stlReport = ImportReport(dir.Path("ring.STL"));
  EXPECT_EQ(stl.out, "Patches: " + std::to_string(count) +
                         " Triangles: " + std::to_string(triangles) + "\n");
  EXPECT_EQ(Field(stlReport, QStringLiteral("Faces:")).toInt(), triangles);
  EXPECT_EQ(Field(stlReport, QStringLiteral("Primitive Types:")), QStringLiteral("triangles"));
  EXPECT_EQ(Field(stlReport, QStringLiteral("Minimum point")), point(low));
  EXPECT_EQ(Field(stlReport, QStringLiteral("Maximum point")), point(high));
}

// Four patches over the same curve along y = 0 in the plane z = 0: a flat square; one whose second
// curve is drawn together into a point, so that every quadrilateral keeps three corners; one drawn
// into a point whole; and one whose curves lie on one line. The last two have no area at all.
TMorvObject PatchesOfEveryShape() {
  TMorvObject m;
  m.Name = "Caf\xE9 shapes";
  m.ControlCount = 13;
  for (int32_t k = 0; k < 4; ++k) {
    m.Controls[k + 1] = {10 * k, 0, 0};
    m.Controls[k + 5] = {10 * k, 30, 0};
    m.Controls[k + 10] = {10 * k + 5, 0, 0};
  }
  m.Controls[9] = {15, 30, 4};
  m.PatchCount = 4;
  for (int32_t k = 1; k <= 8; ++k) {
    m.Patches[1].ControlIndex[k] = k;
    m.Patches[2].ControlIndex[k] = k <= 4 ? k : 9;
    m.Patches[3].ControlIndex[k] = 9;
    m.Patches[4].ControlIndex[k] = k <= 4 ? k : k + 5;
  }
  m.Patches[1].Colour = 0x2860B4;
  m.Patches[2].Colour = 0x0A0B02;
  m.Patches[3].Colour = 0x2860B4;
  m.Patches[4].Colour = 0x2860B4;
  return m;
}

struct TPointF {
  double X, Y, Z;
};

bool ZeroArea(const TPointF& a, const TPointF& b, const TPointF& c) {
  const double ux = b.X - a.X, uy = b.Y - a.Y, uz = b.Z - a.Z;
  const double vx = c.X - a.X, vy = c.Y - a.Y, vz = c.Z - a.Z;
  return uy * vz - uz * vy == 0 && uz * vx - ux * vz == 0 && ux * vy - uy * vx == 0;
}

// The triangles of an OBJ file's faces, each cut as a fan from its first corner.
std::vector<std::array<TPointF, 3>> ObjTriangles(const std::string& text, int* faces) {
  std::vector<TPointF> vertices;
  std::vector<std::array<TPointF, 3>> triangles;
  std::istringstream lines(text);
  *faces = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    if (kind == "v") {
      TPointF p{};
      words >> p.X >> p.Y >> p.Z;
      vertices.push_back(p);
    } else if (kind == "f") {
      std::vector<TPointF> corners;
      for (std::size_t index = 0; words >> index;) corners.push_back(vertices.at(index - 1));
      EXPECT_GE(corners.size(), 3u) << line;
      for (std::size_t k = 1; k + 1 < corners.size(); ++k) {
        triangles.push_back({corners[0], corners[k], corners[k + 1]});
      }
      ++*faces;
    }
  }
  return triangles;
}

std::vector<std::array<TPointF, 3>> StlTriangles(const std::string& bytes) {
  std::vector<std::array<TPointF, 3>> triangles;
  for (std::size_t at = 84; at + 50 <= bytes.size(); at += 50) {
    float f[12];
    std::memcpy(f, bytes.data() + at, sizeof f);
    triangles.push_back(
        {TPointF{f[3], f[4], f[5]}, TPointF{f[6], f[7], f[8]}, TPointF{f[9], f[10], f[11]}});
  }
  return triangles;
}

struct TGltfMesh {
  std::string Name;
  int Material = -1;
  std::vector<TPointF> Positions;
  std::vector<TPointF> Normals;
};

std::vector<TPointF> ReadVec3(const tinygltf::Model& model, int index) {
  const tinygltf::Accessor& accessor = model.accessors.at(static_cast<std::size_t>(index));
  EXPECT_EQ(accessor.componentType, TINYGLTF_COMPONENT_TYPE_FLOAT);
  EXPECT_EQ(accessor.type, TINYGLTF_TYPE_VEC3);
  const tinygltf::BufferView& view =
      model.bufferViews.at(static_cast<std::size_t>(accessor.bufferView));
  const std::size_t stride = view.byteStride == 0 ? 12 : view.byteStride;
  const auto& data = model.buffers.at(static_cast<std::size_t>(view.buffer)).data;
  std::vector<TPointF> points;
  for (std::size_t i = 0; i < accessor.count; ++i) {
    float f[3];
    std::memcpy(f, data.data() + view.byteOffset + accessor.byteOffset + i * stride, sizeof f);
    points.push_back({f[0], f[1], f[2]});
  }
  return points;
}

std::vector<TGltfMesh> GltfMeshes(const tinygltf::Model& model) {
  std::vector<TGltfMesh> meshes;
  for (const tinygltf::Node& node : model.nodes) {
    const tinygltf::Mesh& mesh = model.meshes.at(static_cast<std::size_t>(node.mesh));
    EXPECT_EQ(node.name, mesh.name);
    EXPECT_EQ(mesh.primitives.size(), 1u);
    const tinygltf::Primitive& primitive = mesh.primitives.at(0);
    EXPECT_EQ(primitive.mode, TINYGLTF_MODE_TRIANGLES);
    meshes.push_back({mesh.name, primitive.material,
                      ReadVec3(model, primitive.attributes.at("POSITION")),
                      ReadVec3(model, primitive.attributes.at("NORMAL"))});
  }
  return meshes;
}

// Every format writes the model with patches of every shape: the counts it prints are those of
// its files, the shapes without area are gone, and every format holds the same triangles.
TEST(CliExport, EveryFormatLeavesOutWhatHasNoArea) {
  ScratchDir dir;
  const TMorvObject model = PatchesOfEveryShape();
  const std::string path = dir.Path("shapes.MVD").toStdString();
  SaveModelFile(model, path);
  // Patch 1: 12 quadrilaterals of 2 triangles; patch 2: 12 of 3 corners; patches 3 and 4: none.
  const int patches = 2, faces = 24, triangles = 36;
  const std::vector<TExportPatch> mesh = ExportPatches(model);
  ASSERT_EQ(mesh.size(), 2u);
  EXPECT_EQ(TriangleCount(mesh), triangles);

  std::vector<std::array<TPointF, 3>> objTriangles;
  ASSERT_EQ(ExportFormats().size(), 4u);
  for (const TExportFormat& format : ExportFormats()) {
    const std::string suffix(format.Suffix);
    SCOPED_TRACE(suffix);
    const QString out =
        dir.Path(QStringLiteral("shapes.") + QString::fromStdString(suffix).toUpper());
    const CliResult r = RunCliCapture({"export", path, out.toStdString()});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string bytes = test::ReadBytes(out);
    std::vector<std::array<TPointF, 3>> written;
    if (suffix == "obj") {
      int objFaces = 0;
      written = ObjTriangles(bytes, &objFaces);
      EXPECT_EQ(r.out, "Patches: " + std::to_string(patches) +
                           " Vertices: " + std::to_string(patches * PointsPerPatch) +
                           " Faces: " + std::to_string(faces) + "\n");
      EXPECT_EQ(objFaces, faces);
      EXPECT_TRUE(QFile::exists(dir.Path("shapes.mtl")));
      objTriangles = written;
    } else if (suffix == "stl") {
      written = StlTriangles(bytes);
      EXPECT_EQ(r.out, "Patches: " + std::to_string(patches) +
                           " Triangles: " + std::to_string(triangles) + "\n");
    } else {
      tinygltf::TinyGLTF loader;
      tinygltf::Model gltf;
      std::string error, warning;
      const bool read = suffix == "glb"
                            ? loader.LoadBinaryFromFile(&gltf, &error, &warning, out.toStdString())
                            : loader.LoadASCIIFromFile(&gltf, &error, &warning, out.toStdString());
      ASSERT_TRUE(read) << error;
      EXPECT_EQ(warning, "");
      if (suffix == "gltf") {
        ASSERT_EQ(gltf.buffers.size(), 1u);
        EXPECT_EQ(gltf.buffers[0].uri, "shapes.bin");
      }
      EXPECT_EQ(r.out, "Patches: " + std::to_string(patches) +
                           " Triangles: " + std::to_string(triangles) + " Materials: 2\n");
      const std::vector<TGltfMesh> meshes = GltfMeshes(gltf);
      ASSERT_EQ(meshes.size(), mesh.size());
      EXPECT_EQ(gltf.asset.generator, std::string("Morv! 5 ") + MorvVersion);
      ASSERT_EQ(gltf.scenes.size(), 1u);
      EXPECT_EQ(gltf.scenes[0].name, Latin1ToUtf8(model.Name));
      EXPECT_EQ(gltf.scenes[0].nodes.size(), mesh.size());
      std::set<int> materials;
      for (std::size_t m = 0; m < meshes.size(); ++m) {
        const TGltfMesh& g = meshes[m];
        EXPECT_EQ(g.Name, "Patch " + std::to_string(mesh[m].Index));
        materials.insert(g.Material);
        const tinygltf::Material& material =
            gltf.materials.at(static_cast<std::size_t>(g.Material));
        EXPECT_EQ(material.name, ColourName(mesh[m].Colour));
        EXPECT_FALSE(material.doubleSided);
        EXPECT_EQ(material.pbrMetallicRoughness.metallicFactor, 0.0);
        const std::vector<double>& factor = material.pbrMetallicRoughness.baseColorFactor;
        ASSERT_EQ(factor.size(), 4u);
        for (int k = 0; k < 3; ++k) {
          const double c = ((mesh[m].Colour >> (8 * k)) & 0xFF) / 255.0;
          const double linear = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
          EXPECT_NEAR(factor[static_cast<std::size_t>(k)], linear, 1e-12) << k;
        }
        EXPECT_EQ(factor[3], 1.0);
        ASSERT_EQ(g.Positions.size(), g.Normals.size());
        ASSERT_EQ(g.Positions.size() % 3, 0u);
        for (std::size_t v = 0; v < g.Positions.size(); v += 3) {
          const TPointF& a = g.Positions[v];
          const TPointF& b = g.Positions[v + 1];
          const TPointF& c = g.Positions[v + 2];
          written.push_back({a, b, c});
          const TVector3D front = FrontNormal(
              {static_cast<int32_t>(a.X), static_cast<int32_t>(a.Y), static_cast<int32_t>(a.Z)},
              {static_cast<int32_t>(b.X), static_cast<int32_t>(b.Y), static_cast<int32_t>(b.Z)},
              {static_cast<int32_t>(c.X), static_cast<int32_t>(c.Y), static_cast<int32_t>(c.Z)});
          // Anticlockwise seen from where the normal points: glTF's front face.
          const double wx = (b.Y - a.Y) * (c.Z - a.Z) - (b.Z - a.Z) * (c.Y - a.Y);
          const double wy = (b.Z - a.Z) * (c.X - a.X) - (b.X - a.X) * (c.Z - a.Z);
          const double wz = (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
          for (std::size_t k = 0; k < 3; ++k) {
            const TPointF& n = g.Normals[v + k];
            EXPECT_NEAR(std::sqrt(n.X * n.X + n.Y * n.Y + n.Z * n.Z), 1.0, 1e-6);
            EXPECT_NEAR(n.X, front.X, 1e-6);
            EXPECT_NEAR(n.Y, front.Y, 1e-6);
            EXPECT_NEAR(n.Z, front.Z, 1e-6);
            EXPECT_GT(n.X * wx + n.Y * wy + n.Z * wz, 0);
          }
        }
      }
      EXPECT_EQ(materials.size(), 2u);
      EXPECT_EQ(gltf.materials.size(), 2u);
    }
    ASSERT_EQ(written.size(), static_cast<std::size_t>(triangles));
    for (std::size_t t = 0; t < written.size(); ++t) {
      const auto& w = written[t];
      EXPECT_FALSE(ZeroArea(w[0], w[1], w[2])) << t;
      if (suffix == "obj") continue;
      // The same corners as the OBJ file's, in the same order.
      for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(w[k].X, objTriangles[t][k].X) << t;
        EXPECT_EQ(w[k].Y, objTriangles[t][k].Y) << t;
        EXPECT_EQ(w[k].Z, objTriangles[t][k].Z) << t;
      }
    }
  }
}

// Beside the patch of PatchesOfEveryShape that has area, a thin strip far out along x: three units
// wide in whole numbers, between x = 10^8 and 10^8 + 3, where a 32-bit float holds only every
// eighth whole number. In the OBJ file's whole numbers the strip has area; in the floats of STL
// and glTF all its corners lie on one line.
TEST(CliExport, FacesOfNoAreaAsTheFileHoldsThePointsAreLeftOut) {
  ScratchDir dir;
  TMorvObject model = PatchesOfEveryShape();
  model.PatchCount = 2;
  model.ControlCount = 8;
  constexpr int32_t Far = 100000000;
  for (int32_t k = 0; k < 4; ++k) {
    model.Controls[k + 1] = {10 * k, 0, 0};
    model.Controls[k + 5] = {10 * k, 30, 0};
  }
  model.ControlCount = 16;
  for (int32_t k = 0; k < 4; ++k) {
    model.Controls[k + 9] = {Far, 0, 100 * k};
    model.Controls[k + 13] = {Far + 3, 0, 100 * k};
  }
  for (int32_t k = 1; k <= 8; ++k) {
    model.Patches[1].ControlIndex[k] = k;
    model.Patches[2].ControlIndex[k] = k + 8;
  }
  const std::string path = dir.Path("far.MVD").toStdString();
  SaveModelFile(model, path);

  const CliResult obj = RunCliCapture({"export", path, dir.Path("far.obj").toStdString()});
  ASSERT_EQ(obj.code, 0) << obj.err;
  EXPECT_EQ(obj.out, "Patches: 2 Vertices: 52 Faces: 24\n");
  int faces = 0;
  for (const auto& t : ObjTriangles(test::ReadBytes(dir.Path("far.obj")), &faces)) {
    EXPECT_FALSE(ZeroArea(t[0], t[1], t[2]));
  }
  EXPECT_EQ(faces, 24);

  for (const char* suffix : {"stl", "glb"}) {
    SCOPED_TRACE(suffix);
    const QString out = dir.Path(QStringLiteral("far.") + QLatin1String(suffix));
    const CliResult r = RunCliCapture({"export", path, out.toStdString()});
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::array<TPointF, 3>> written;
    if (std::string(suffix) == "stl") {
      written = StlTriangles(test::ReadBytes(out));
      EXPECT_EQ(r.out, "Patches: 1 Triangles: 24\n");
    } else {
      tinygltf::TinyGLTF loader;
      tinygltf::Model gltf;
      std::string error, warning;
      ASSERT_TRUE(loader.LoadBinaryFromFile(&gltf, &error, &warning, out.toStdString())) << error;
      for (const TGltfMesh& mesh : GltfMeshes(gltf)) {
        for (std::size_t v = 0; v + 2 < mesh.Positions.size(); v += 3) {
          written.push_back({mesh.Positions[v], mesh.Positions[v + 1], mesh.Positions[v + 2]});
        }
      }
      EXPECT_EQ(r.out, "Patches: 1 Triangles: 24 Materials: 1\n");
    }
    EXPECT_EQ(written.size(), 24u);
    for (const auto& t : written) EXPECT_FALSE(ZeroArea(t[0], t[1], t[2]));
  }
}

// A file named through a link is written where the link leads, and the file that goes with it
// goes there too, named after the file written, so that the pair stays together.
TEST(CliExport, ThroughALinkTheCompanionGoesBesideTheFileWrittenAndIsNamedAfterIt) {
  ScratchDir dir;
  const std::string model = dir.Path("shapes.MVD").toStdString();
  SaveModelFile(PatchesOfEveryShape(), model);
  ASSERT_TRUE(QDir().mkdir(dir.Path("out")));
  ASSERT_TRUE(QDir().mkdir(dir.Path("real")));
  // The glTF file is still to be made; the OBJ file is there from an earlier export.
  ASSERT_TRUE(QFile::link(QStringLiteral("../real/world.gltf"), dir.Path("out/scene.gltf")));
  test::WriteBytes(dir.Path("real/thing.obj"), "old");
  ASSERT_TRUE(QFile::link(QStringLiteral("../real/thing.obj"), dir.Path("out/mesh.obj")));

  for (const char* name : {"out/scene.gltf", "out/mesh.obj"}) {
    const CliResult r = RunCliCapture({"export", model, dir.Path(name).toStdString()});
    EXPECT_EQ(r.code, 0) << r.err;
  }
  EXPECT_EQ(QDir(dir.Path("out"))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            (QStringList{"mesh.obj", "scene.gltf"}));
  EXPECT_TRUE(QFileInfo(dir.Path("out/scene.gltf")).isSymLink());
  EXPECT_TRUE(QFileInfo(dir.Path("out/mesh.obj")).isSymLink());
  EXPECT_EQ(QDir(dir.Path("real"))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            (QStringList{"thing.mtl", "thing.obj", "world.bin", "world.gltf"}));

  tinygltf::TinyGLTF loader;
  tinygltf::Model gltf;
  std::string error, warning;
  ASSERT_TRUE(
      loader.LoadASCIIFromFile(&gltf, &error, &warning, dir.Path("real/world.gltf").toStdString()))
      << error;
  ASSERT_EQ(gltf.buffers.size(), 1u);
  EXPECT_EQ(gltf.buffers[0].uri, "world.bin");
  EXPECT_EQ(gltf.buffers[0].data.size(), test::ReadBytes(dir.Path("real/world.bin")).size());
  const std::string obj = test::ReadBytes(dir.Path("real/thing.obj"));
  EXPECT_NE(obj.find("\nmtllib thing.mtl\n"), std::string::npos) << obj.substr(0, 200);
}

// The data file's name in the glTF file is a URI: what a URI's path may not hold is
// percent-encoded, so that a reader finds the file whatever its name.
TEST(CliExport, TheGltfFileNamesItsDataFileByAPercentEncodedUri) {
  ScratchDir scratch;
  const std::string dir = scratch.Path("").toStdString();
  const std::string model = dir + "/shapes.MVD";
  SaveModelFile(PatchesOfEveryShape(), model);
  const struct {
    std::string name;  // without the suffix
    std::string uri;
  } rows[] = {
      {"a#b", "a%23b.bin"},           {"50% off", "50%25%20off.bin"},
      {"x:y+z?", "x%3Ay%2Bz%3F.bin"}, {"caf\xC3\xA9", "caf%C3%A9.bin"},
      {"caf\xE9", "caf%E9.bin"},      {"plain-name_(1)~", "plain-name_(1)~.bin"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string gltfPath = dir + "/" + row.name + ".gltf";
    const CliResult r = RunCliCapture({"export", model, gltfPath});
    ASSERT_EQ(r.code, 0) << r.err;
    std::ifstream file(gltfPath, std::ios::binary);
    const auto json = nlohmann::json::parse(file);
    EXPECT_EQ(json["buffers"][0]["uri"], row.uri);
    // A reader that decodes the URI finds the data file beside the glTF file.
    tinygltf::TinyGLTF loader;
    tinygltf::Model gltf;
    std::string error, warning;
    EXPECT_TRUE(loader.LoadASCIIFromFile(&gltf, &error, &warning, gltfPath)) << error;
  }
}

TEST(CliExport, RefusesUnknownFormatsMissingModelsAndUnwritableFiles) {
  ScratchDir dir;
  const std::string model = test::TestDataPath(QStringLiteral("ring.MVD")).toStdString();
  const struct {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{"export", model, dir.Path("ring.ply").toStdString()}, 2},
      {{"export", model}, 2},
      {{"export", dir.Path("none.MVD").toStdString(), dir.Path("a.stl").toStdString()}, 1},
      {{"export", model, dir.Path("no/such/folder/a.stl").toStdString()}, 1},
  };
  for (const auto& c : cases) {
    const CliResult r = RunCliCapture(c.args);
    EXPECT_EQ(r.code, c.code) << c.args.back();
    EXPECT_FALSE(r.err.empty());
  }
  // The refusal of a suffix names every one the formats' table holds, as does the usage text.
  const CliResult ply = RunCliCapture(cases[0].args);
  const CliResult help = RunCliCapture({"--help"});
  for (const TExportFormat& format : ExportFormats()) {
    EXPECT_NE(ply.err.substr(0, ply.err.find('\n')).find(" ." + std::string(format.Suffix)),
              std::string::npos)
        << format.Suffix;
    // Built up step by step: GCC 12 warns of an overlap that is none in " " + suffix + " ".
    std::string row(1, ' ');
    row.append(format.Suffix).push_back(' ');
    const std::size_t at = help.out.find(row);
    ASSERT_NE(at, std::string::npos) << format.Suffix;
    EXPECT_EQ(help.out.substr(help.out.find_first_not_of(' ', at + row.size()),
                              format.Description.size() + 1),
              std::string(format.Description) + "\n");
  }
  EXPECT_EQ(QDir(dir.Path("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{})
      << "nothing is written for a refused export";
}

// The OBJ file and its material file are replaced together or not at all: with the material file
// blocked by a folder, and with a size limit that lets the small material file through but stops
// the OBJ file midway, as a full disk would.
TEST(CliExport, AFailedObjExportLeavesNeitherFileNew) {
  const QString ring = test::TestDataPath(QStringLiteral("ring.MVD"));
  for (const bool blocked : {true, false}) {
    SCOPED_TRACE(blocked ? "material file blocked by a folder" : "disk full in the OBJ file");
    ScratchDir dir;
    const QString obj = dir.Path("ring.obj");
    const QString mtl = dir.Path("ring.mtl");
    if (blocked) {
      ASSERT_TRUE(QDir().mkdir(mtl));
    } else {
      test::WriteBytes(obj, "old obj");
      test::WriteBytes(mtl, "old mtl");
    }
    QProcess cli;
    if (!blocked) test::LimitChildFileSize(cli, 1024);
    cli.start(QStringLiteral(MORV_CLI_PATH), {QStringLiteral("export"), ring, obj});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    // Qt may warn about the environment before the command's own line.
    EXPECT_EQ(cli.readAllStandardError().trimmed().split('\n').last().toStdString(),
              "morv-cli: Cannot create file " + (blocked ? mtl : obj).toStdString() +
                  (blocked ? ": it is a folder." : ": the file would be too large."));
    if (blocked) {
      EXPECT_FALSE(QFile::exists(obj));
      EXPECT_TRUE(QFileInfo(mtl).isDir());
      EXPECT_TRUE(QDir(mtl).isEmpty());
    } else {
      EXPECT_EQ(test::ReadBytes(obj), "old obj");
      EXPECT_EQ(test::ReadBytes(mtl), "old mtl");
    }
    EXPECT_EQ(QDir(dir.Path("")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (blocked ? QStringList{"ring.mtl"} : QStringList{"ring.mtl", "ring.obj"}))
        << "nothing is left beside the files";
  }
}

}  // namespace
}  // namespace morv
