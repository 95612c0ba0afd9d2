// The morv-cli commands that move a model: animation playback and the mechanics.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace morv {

// The video options: [--video OUT [--size W H] [--samples N] [--angles X Y Z] [--fps F]], with a
// frame at the start and one after each tick; progress goes to `progress` when there is one.

// animate MODEL.MVD SET.MVA OUT.MVD --ticks N [--play K ...] [video options]
int Animate(const std::vector<std::string>& args, std::ostream& out, std::ostream* progress);

// physics MODEL.MVD OUT.MVD --ticks N [--force J FX FY FZ ...] [--g MANTISSA POWER]
// [video options]
int Physics(const std::vector<std::string>& args, std::ostream& out, std::ostream* progress);

}  // namespace morv
