// The model as a Wavefront OBJ file with its companion material file.
#include "engine/obj_export.h"

#include <charconv>
#include <set>

#include "engine/export_mesh.h"
#include "engine/integer_text.h"
#include "engine/latin1.h"

namespace morv {

namespace {

int32_t Red(int32_t colour) { return colour & 0xFF; }
int32_t Green(int32_t colour) { return (colour >> 8) & 0xFF; }
int32_t Blue(int32_t colour) { return (colour >> 16) & 0xFF; }

// A colour channel of 0..255 as a fraction with four decimals, whatever the locale.
std::string Channel(int32_t value) {
  char text[16];
  const auto end =
      std::to_chars(text, text + sizeof text, value / 255.0, std::chars_format::fixed, 4);
  return std::string(text, end.ptr);
}

// Names and owners may hold anything but line breaks; a comment must stay on its line.
std::string CommentText(const std::string& latin1) {
  std::string text = Latin1ToUtf8(latin1);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

}  // namespace

TObjFiles ExportObj(const std::string& modelName, const std::vector<TExportPatch>& patches,
                    const std::string& mtlFileName) {
  TObjFiles files;
  std::string& obj = files.Obj;
  obj += "# Morv! 5 model " + CommentText(modelName) + "\n";
  obj += "# " + std::to_string(patches.size()) + " patches, model coordinates\n";
  obj += "mtllib " + mtlFileName + "\n";
  int64_t firstVertex = 1;
  std::set<int32_t> colours;
  for (const TExportPatch& patch : patches) {
    colours.insert(patch.Colour);
    obj += "g patch" + std::to_string(patch.Index) + "\n";
    obj += "usemtl " + ColourName(patch.Colour) + "\n";
    for (const TPoint3D& p : patch.Points) {
      obj += 'v';
      for (const int32_t c : {p.X, p.Y, p.Z}) obj.append(1, ' ').append(IntToStr(c));
      obj += '\n';
    }
    for (const TExportFace& face : patch.Faces) {
      obj += 'f';
      for (int32_t k = 0; k < face.CornerCount; ++k) {
        obj.append(1, ' ').append(
            std::to_string(firstVertex + face.Corners[static_cast<std::size_t>(k)]));
      }
      obj += '\n';
    }
    firstVertex += PointsPerPatch;
  }
  files.Mtl = "# Morv! 5 patch colours\n";
  for (const int32_t colour : colours) {
    files.Mtl += "newmtl " + ColourName(colour) + "\n";
    files.Mtl += "Kd " + Channel(Red(colour)) + " " + Channel(Green(colour)) + " " +
                 Channel(Blue(colour)) + "\n";
  }
  return files;
}

TExportOutput ObjExportFiles(const std::vector<TExportPatch>& patches, const std::string& modelName,
                             const std::string& fileName) {
  const std::string mtlName = FileBaseName(fileName) + ".mtl";
  TObjFiles files = ExportObj(modelName, patches, mtlName);
  int64_t faces = 0;
  for (const TExportPatch& patch : patches) faces += static_cast<int64_t>(patch.Faces.size());
  const auto count = static_cast<int64_t>(patches.size());
  // The material file goes first, so the OBJ file never names materials that are not there.
  return {{{mtlName, std::move(files.Mtl)}, {fileName, std::move(files.Obj)}},
          "Patches: " + std::to_string(count) + " Vertices: " +
              std::to_string(count * PointsPerPatch) + " Faces: " + std::to_string(faces)};
}

}  // namespace morv
