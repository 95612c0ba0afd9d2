// The formats morv-cli exports to, one row each, looked up by the output file's suffix.
#include "engine/export_formats.h"

#include <algorithm>
#include <cctype>

#include "engine/gltf_export.h"
#include "engine/obj_export.h"
#include "engine/stl_export.h"

namespace morv {

namespace {

constexpr TExportFormat Formats[] = {
    {"obj", "Wavefront OBJ, with OUT.mtl for the colours", TCoordinates::Exact, ObjExportFiles},
    {"stl", "binary STL, without colours", TCoordinates::Float32, StlExportFiles},
    {"gltf", "glTF 2.0, with OUT.bin for the data", TCoordinates::Float32, GltfExportFiles},
    {"glb", "glTF 2.0 binary, in one file", TCoordinates::Float32, GlbExportFiles},
};

}  // namespace

std::span<const TExportFormat> ExportFormats() { return Formats; }

const TExportFormat* FindExportFormat(std::string_view suffix) {
  const auto* row = std::ranges::find_if(Formats, [&](const TExportFormat& format) {
    return std::ranges::equal(suffix, format.Suffix, [](char a, char b) {
      return std::tolower(static_cast<unsigned char>(a)) == b;
    });
  });
  return row == std::end(Formats) ? nullptr : row;
}

}  // namespace morv
