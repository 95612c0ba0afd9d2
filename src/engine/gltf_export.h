// The model as glTF 2.0: JSON with its binary data beside it, or both in one binary file.
#pragma once

#include <string>
#include <vector>

#include "engine/export_mesh.h"

namespace morv {

// The export rows for .gltf (the JSON and, beside it under its base name, the .bin it names) and
// .glb (one file). One mesh and node per patch ("Patch 12") with flat normals on the side the 3D
// view shows, each triangle on its own three vertices; one material per patch colour, its sRGB
// colour as the linear base colour; the scene named after the model.
TExportOutput GltfExportFiles(const std::vector<TExportPatch>& patches,
                              const std::string& modelName, const std::string& fileName);
TExportOutput GlbExportFiles(const std::vector<TExportPatch>& patches, const std::string& modelName,
                             const std::string& fileName);

// A colour channel of 0..255 in sRGB as the linear fraction glTF's colour factors hold.
double SrgbToLinear(int32_t channel);

}  // namespace morv
