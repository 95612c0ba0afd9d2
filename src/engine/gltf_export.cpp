// The model as glTF 2.0: JSON with its binary data beside it, or both in one binary file.
#include "engine/gltf_export.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "engine/latin1.h"

namespace morv {

namespace {

constexpr int FloatVec3Bytes = 12;

void PutFloat(std::vector<unsigned char>& out, double value) {
  const auto bits = std::bit_cast<uint32_t>(static_cast<float>(value));
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<unsigned char>((bits >> shift) & 0xFF));
  }
}

struct TGltfScene {
  tinygltf::Model Model;
  int64_t Triangles = 0;
};

int AddAccessor(tinygltf::Model& model, int view, std::size_t offset, std::size_t count) {
  tinygltf::Accessor accessor;
  accessor.bufferView = view;
  accessor.byteOffset = offset;
  accessor.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
  accessor.type = TINYGLTF_TYPE_VEC3;
  accessor.count = count;
  model.accessors.push_back(std::move(accessor));
  return static_cast<int>(model.accessors.size() - 1);
}

TGltfScene BuildScene(const std::vector<TExportPatch>& patches, const std::string& modelName) {
  TGltfScene scene;
  tinygltf::Model& model = scene.Model;
  model.asset.version = "2.0";
  model.asset.generator = std::string("Morv! 5 ") + MORV_VERSION;
  const std::string name = Latin1ToUtf8(modelName);
  model.asset.extras = tinygltf::Value(tinygltf::Value::Object{{"title", tinygltf::Value(name)}});

  std::map<int32_t, int> materials;
  for (const TExportPatch& patch : patches) materials.emplace(patch.Colour, 0);
  for (auto& [colour, index] : materials) {
    tinygltf::Material material;
    material.name = ColourName(colour);
    material.pbrMetallicRoughness.baseColorFactor = {SrgbToLinear(colour & 0xFF),
                                                     SrgbToLinear((colour >> 8) & 0xFF),
                                                     SrgbToLinear((colour >> 16) & 0xFF), 1.0};
    material.pbrMetallicRoughness.metallicFactor = 0.0;
    // The 3D view shades diffusely, with no highlights.
    material.pbrMetallicRoughness.roughnessFactor = 1.0;
    // Only the side the view shows is drawn there; the back of a patch is never seen.
    material.doubleSided = false;
    index = static_cast<int>(model.materials.size());
    model.materials.push_back(std::move(material));
  }

  // Positions of all patches first, then their normals, each patch's run one accessor: flat
  // normals give every triangle its own three vertices, so there is nothing to index.
  std::vector<unsigned char> positions;
  std::vector<unsigned char> normals;
  tinygltf::Scene root;
  root.name = name;
  for (const TExportPatch& patch : patches) {
    const std::size_t first = positions.size();
    std::vector<double> low(3, INFINITY), high(3, -INFINITY);
    std::size_t vertices = 0;
    for (const TExportFace& face : patch.Faces) {
      for (const TExportTriangle& t : FaceTriangles(patch, face)) {
        const TPoint3D& a = patch.Points[static_cast<std::size_t>(t[0])];
        const TPoint3D& b = patch.Points[static_cast<std::size_t>(t[1])];
        const TPoint3D& c = patch.Points[static_cast<std::size_t>(t[2])];
        const TVector3D n = FrontNormal(a, b, c);
        for (const TPoint3D* p : {&a, &b, &c}) {
          const double xyz[3] = {static_cast<double>(static_cast<float>(p->X)),
                                 static_cast<double>(static_cast<float>(p->Y)),
                                 static_cast<double>(static_cast<float>(p->Z))};
          for (std::size_t k = 0; k < 3; ++k) {
            PutFloat(positions, xyz[k]);
            low[k] = std::min(low[k], xyz[k]);
            high[k] = std::max(high[k], xyz[k]);
          }
          PutFloat(normals, n.X);
          PutFloat(normals, n.Y);
          PutFloat(normals, n.Z);
          ++vertices;
        }
        ++scene.Triangles;
      }
    }
    const int position = AddAccessor(model, 0, first, vertices);
    model.accessors[static_cast<std::size_t>(position)].minValues = low;
    model.accessors[static_cast<std::size_t>(position)].maxValues = high;
    const int normal = AddAccessor(model, 1, first, vertices);

    tinygltf::Primitive primitive;
    primitive.attributes = {{"POSITION", position}, {"NORMAL", normal}};
    primitive.material = materials.at(patch.Colour);
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    tinygltf::Mesh mesh;
    mesh.name = "Patch " + std::to_string(patch.Index);
    mesh.primitives.push_back(std::move(primitive));
    tinygltf::Node node;
    node.name = mesh.name;
    node.mesh = static_cast<int>(model.meshes.size());
    model.meshes.push_back(std::move(mesh));
    root.nodes.push_back(static_cast<int>(model.nodes.size()));
    model.nodes.push_back(std::move(node));
  }
  model.scenes.push_back(std::move(root));
  model.defaultScene = 0;

  if (!positions.empty()) {
    tinygltf::Buffer buffer;
    buffer.data = positions;
    buffer.data.insert(buffer.data.end(), normals.begin(), normals.end());
    model.buffers.push_back(std::move(buffer));
    for (const std::size_t offset : {std::size_t{0}, positions.size()}) {
      tinygltf::BufferView view;
      view.buffer = 0;
      view.byteOffset = offset;
      view.byteLength = positions.size();
      view.byteStride = FloatVec3Bytes;
      view.target = TINYGLTF_TARGET_ARRAY_BUFFER;
      model.bufferViews.push_back(std::move(view));
    }
  }
  return scene;
}

std::string Write(const tinygltf::Model& model, bool binary) {
  std::ostringstream out;
  tinygltf::TinyGLTF writer;
  if (!writer.WriteGltfSceneToStream(&model, out, !binary, binary)) {
    throw std::runtime_error("the glTF writer failed");
  }
  return out.str();
}

// A file name as a relative URI reference (RFC 3986): every byte a path segment may not hold
// as it is, '%' and '#' among them, is percent-encoded, and so is ':', which would make the
// reference's first segment read as a scheme, and '+', which many readers decode as a space.
// Bytes beyond ASCII are encoded as they are.
std::string UriOfFileName(const std::string& fileName) {
  constexpr std::string_view Kept = "-._~!$&'()*,;=@";
  constexpr char Digits[] = "0123456789ABCDEF";
  std::string uri;
  for (const char c : fileName) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
        Kept.find(c) != std::string_view::npos) {
      uri += c;
    } else {
      uri += '%';
      uri += Digits[byte >> 4];
      uri += Digits[byte & 0xF];
    }
  }
  return uri;
}

std::string Summary(const std::vector<TExportPatch>& patches, const TGltfScene& scene) {
  return "Patches: " + std::to_string(patches.size()) +
         " Triangles: " + std::to_string(scene.Triangles) +
         " Materials: " + std::to_string(scene.Model.materials.size());
}

}  // namespace

double SrgbToLinear(int32_t channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

TExportOutput GltfExportFiles(const std::vector<TExportPatch>& patches,
                              const std::string& modelName, const std::string& fileName) {
  const TGltfScene scene = BuildScene(patches, modelName);
  if (scene.Model.buffers.empty())
    return {{{fileName, Write(scene.Model, false)}}, Summary(patches, scene)};
  // The library's stream writer keeps the data inline as base64; the file beside it holds it
  // instead, named by its file name alone so that the pair can move together.
  const std::string binName = FileBaseName(fileName) + ".bin";
  nlohmann::json json = nlohmann::json::parse(Write(scene.Model, false));
  json["buffers"][0]["uri"] = UriOfFileName(binName);
  const std::vector<unsigned char>& data = scene.Model.buffers[0].data;
  return {{{binName, std::string(data.begin(), data.end())}, {fileName, json.dump(2) + "\n"}},
          Summary(patches, scene)};
}

TExportOutput GlbExportFiles(const std::vector<TExportPatch>& patches, const std::string& modelName,
                             const std::string& fileName) {
  const TGltfScene scene = BuildScene(patches, modelName);
  return {{{fileName, Write(scene.Model, true)}}, Summary(patches, scene)};
}

}  // namespace morv
