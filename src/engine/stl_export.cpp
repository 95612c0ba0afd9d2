// The model as a binary STL file.
#include "engine/stl_export.h"

#include <bit>

#include "engine/export_mesh.h"

namespace morv {

namespace {

void PutU32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutFloat(std::string& out, double value) {
  PutU32(out, std::bit_cast<uint32_t>(static_cast<float>(value)));
}

void PutTriangle(std::string& out, const TPoint3D& a, const TPoint3D& b, const TPoint3D& c) {
  const TVector3D n = FrontNormal(a, b, c);
  PutFloat(out, n.X);
  PutFloat(out, n.Y);
  PutFloat(out, n.Z);
  for (const TPoint3D* p : {&a, &b, &c}) {
    PutFloat(out, p->X);
    PutFloat(out, p->Y);
    PutFloat(out, p->Z);
  }
  out += std::string(2, '\0');  // no attributes
}

}  // namespace

std::string ExportBinaryStl(const std::vector<TExportPatch>& patches) {
  // The header must not begin with "solid": readers would take the file for the text form.
  std::string out = "Morv! 5 model, binary STL";
  out.resize(80, ' ');
  const auto triangles = static_cast<uint32_t>(TriangleCount(patches));
  PutU32(out, triangles);
  out.reserve(out.size() + std::size_t{triangles} * 50);
  for (const TExportPatch& patch : patches) {
    for (const TExportFace& face : patch.Faces) {
      for (const TExportTriangle& t : FaceTriangles(patch, face)) {
        PutTriangle(out, patch.Points[static_cast<std::size_t>(t[0])],
                    patch.Points[static_cast<std::size_t>(t[1])],
                    patch.Points[static_cast<std::size_t>(t[2])]);
      }
    }
  }
  return out;
}

TExportOutput StlExportFiles(const std::vector<TExportPatch>& patches, const std::string&,
                             const std::string& fileName) {
  return {{{fileName, ExportBinaryStl(patches)}},
          "Patches: " + std::to_string(patches.size()) +
              " Triangles: " + std::to_string(TriangleCount(patches))};
}

}  // namespace morv
