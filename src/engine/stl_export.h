// The model as a binary STL file.
#pragma once

#include <string>
#include <vector>

#include "engine/export_mesh.h"

namespace morv {

// Two triangles per quadrilateral of the patches, wound as the 3D view shows them, each
// with its own normal on that side; little-endian, as the format wants.
std::string ExportBinaryStl(const std::vector<TExportPatch>& patches);

}  // namespace morv
