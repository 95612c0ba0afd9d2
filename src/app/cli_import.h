// The morv-cli command that imports a bicubic Bézier patch set into a model.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morv {

// import IN.bpt OUT.MVD [--bands K] [--scale S] [--offset X Y Z] [--flip] [--both-sides]
// [--colour C] [--colour-per-patch]
int Import(const std::vector<std::string>& args, std::ostream& out);

// The import command's lines of the usage text.
std::string ImportUsage();

}  // namespace morv
