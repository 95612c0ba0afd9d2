// The morv-cli commands that move a model: animation playback and the mechanics.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morv {

// animate MODEL.MVD SET.MVA OUT.MVD --ticks N [--play K ...]
int Animate(const std::vector<std::string>& args, std::ostream& out);

// physics MODEL.MVD OUT.MVD --ticks N [--force J FX FY FZ ...] [--g MANTISSA POWER]
int Physics(const std::vector<std::string>& args, std::ostream& out);

}  // namespace morv
