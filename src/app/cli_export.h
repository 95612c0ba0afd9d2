// The morv-cli command that hands a model to other 3D programs as OBJ or STL.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morv {

// export MODEL.MVD OUT.obj|OUT.stl
int Export(const std::vector<std::string>& args, std::ostream& out);

}  // namespace morv
