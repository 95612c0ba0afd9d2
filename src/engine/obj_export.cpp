// The model as a Wavefront OBJ file with its companion material file.
#include "engine/obj_export.h"

#include <charconv>
#include <cstdio>
#include <set>

#include "engine/export_mesh.h"
#include "engine/integer_text.h"
#include "engine/latin1.h"

namespace morv {

namespace {

int32_t Red(int32_t colour) { return colour & 0xFF; }
int32_t Green(int32_t colour) { return (colour >> 8) & 0xFF; }
int32_t Blue(int32_t colour) { return (colour >> 16) & 0xFF; }

// The colour as other programs write it, red first: "colour_B46028" is red B4, green 60, blue 28
// (stored with red in the lowest byte).
std::string MaterialName(int32_t colour) {
  char name[16];
  std::snprintf(name, sizeof name, "colour_%02X%02X%02X", static_cast<unsigned>(Red(colour)),
                static_cast<unsigned>(Green(colour)), static_cast<unsigned>(Blue(colour)));
  return name;
}

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
    obj += "usemtl " + MaterialName(patch.Colour) + "\n";
    for (const TPoint3D& p : patch.Points) {
      obj += 'v';
      for (const int32_t c : {p.X, p.Y, p.Z}) obj.append(1, ' ').append(IntToStr(c));
      obj += '\n';
    }
    for (const auto& row : QuadTemplate) {
      obj += 'f';
      for (const int32_t corner : row) {
        obj.append(1, ' ').append(std::to_string(firstVertex + corner - 1));
      }
      obj += '\n';
    }
    firstVertex += PointsPerPatch;
  }
  files.Mtl = "# Morv! 5 patch colours\n";
  for (const int32_t colour : colours) {
    files.Mtl += "newmtl " + MaterialName(colour) + "\n";
    files.Mtl += "Kd " + Channel(Red(colour)) + " " + Channel(Green(colour)) + " " +
                 Channel(Blue(colour)) + "\n";
  }
  return files;
}

}  // namespace morv
