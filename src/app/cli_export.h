// The morv-cli command that hands a model to other 3D programs in one of the export formats.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morv {

// export MODEL.MVD OUT.FORMAT, FORMAT a suffix of the export formats' table.
int Export(const std::vector<std::string>& args, std::ostream& out);

// The export command's lines of the usage text, its formats taken from the table.
std::string ExportUsage();

}  // namespace morv
