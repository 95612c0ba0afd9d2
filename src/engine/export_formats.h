// The formats morv-cli exports to, one row each, looked up by the output file's suffix.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/export_mesh.h"

namespace morv {

struct TExportFormat {
  std::string_view Suffix;       // lower case, without the dot
  std::string_view Description;  // one line for the usage text
  TCoordinates Coordinates;      // how its files hold the points
  // The files to write for the mesh under the model's name (Latin-1), `fileName` being the name
  // of the file asked for without its folder; companions take its base name.
  TExportOutput (*Write)(const std::vector<TExportPatch>& patches, const std::string& modelName,
                         const std::string& fileName);
};

std::span<const TExportFormat> ExportFormats();

// The row for the suffix in any case, or null.
const TExportFormat* FindExportFormat(std::string_view suffix);

}  // namespace morv
