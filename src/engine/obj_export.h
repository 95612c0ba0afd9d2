// The model as a Wavefront OBJ file with its companion material file.
#pragma once

#include <string>

#include "engine/model.h"

namespace morv {

struct TObjFiles {
  std::string Obj;
  std::string Mtl;
};

// One group per patch ("patch<N>"), its 26 points and 12 quadrilaterals, and one material per
// patch colour, which `mtlFileName` (a name beside the OBJ file) holds.
TObjFiles ExportObj(const TMorvObject& model, const std::string& mtlFileName);

}  // namespace morv
