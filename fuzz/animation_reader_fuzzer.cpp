// Fuzzes the animation file reader: whatever loads saves, and what it saves loads back the same.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "engine/animation.h"
#include "engine/animation_file.h"
#include "engine/errors.h"
#include "engine/line_text.h"
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
  const TextLines input = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  *first = *blank;
  try {
    LoadAnimations(input, *first);
  } catch (const ConversionError&) {
    return 0;
  } catch (const FormatError&) {
    return 0;
  }
  TextLines saved;
  try {
    SaveAnimations(*first, saved);
  } catch (const FormatError&) {
    // A name holding a NUL reads but cannot be written.
    return 0;
  }

  *second = *blank;
  LoadAnimations(saved, *second);
  TextLines again;
  SaveAnimations(*second, again);
  Require(again == saved, "a loaded animation set saves as the file it was loaded from");
  return 0;
}
