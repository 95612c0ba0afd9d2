// morv-cli print: the printed model sheet's three pages as one PDF and, if asked, as PNG files.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morv {

// print MODEL.MVD OUT.pdf [--png PREFIX] [--angles X Y Z]; returns the exit code.
int Print(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace morv
