// The model as a Wavefront OBJ file with its companion material file.
#pragma once

#include <string>
#include <vector>

#include "engine/export_mesh.h"

namespace morv {

struct TObjFiles {
  std::string Obj;
  std::string Mtl;
};

// The patches under the model's name: one group per patch ("patch<N>"), its 26 points and its
// faces, and one material per patch colour, which `mtlFileName` (a name beside the OBJ
// file) holds. A material is named after its colour as RGB hex, red first: "colour_B46028".
TObjFiles ExportObj(const std::string& modelName, const std::vector<TExportPatch>& patches,
                    const std::string& mtlFileName);

// The export row for .obj: the material file beside the OBJ file under its base name.
TExportOutput ObjExportFiles(const std::vector<TExportPatch>& patches, const std::string& modelName,
                             const std::string& fileName);

}  // namespace morv
