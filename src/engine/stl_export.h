// The model as a binary STL file.
#pragma once

#include <string>
#include <vector>

#include "engine/export_mesh.h"

namespace morv {

// The triangles of the patches' faces, wound as the 3D view shows them, each with its own normal
// on that side; little-endian, as the format wants.
std::string ExportBinaryStl(const std::vector<TExportPatch>& patches);

// The export row for .stl; STL has no place for the model's name.
TExportOutput StlExportFiles(const std::vector<TExportPatch>& patches, const std::string& modelName,
                             const std::string& fileName);

}  // namespace morv
