// The model as a binary STL file.
#pragma once

#include <string>

#include "engine/model.h"

namespace morv {

// Two triangles per quadrilateral of every drawn patch, wound as the 3D view shows them, each
// with its own normal on that side; little-endian, as the format wants.
std::string ExportBinaryStl(const TMorvObject& model);

}  // namespace morv
