// Fuzzes the animation file reader: whatever loads saves, and what it saves loads back the same.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/animation.h"
#include "engine/animation_file.h"
#include "engine/line_text.h"
#include "file_round_trip.h"
#include "property.h"

using namespace morv;

namespace {

// Made once and reset for every input: allocating sets this large afresh each time would spend
// much of the run on page faults.
const auto blank = std::make_unique<const TAnimationList>();
const auto first = std::make_unique<TAnimationList>();
const auto second = std::make_unique<TAnimationList>();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // A set whose name holds a NUL reads but cannot be written, and is let go.
  TextLines saved;
  if (!LoadThenSave(data, size, *blank, *first, LoadAnimations, SaveAnimations, saved)) return 0;

  *second = *blank;
  LoadAnimations(saved, *second);
  TextLines again;
  SaveAnimations(*second, again);
  Require(again == saved, "a loaded animation set saves as the file it was loaded from");
  return 0;
}
