// The two edge rows of each patch's control net, which the plane pictures draw as lines.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/model.h"

namespace morv {

// A count as a damaged file may give it, held to what its array can hold.
inline int32_t BoundedCount(int32_t count, int32_t capacity) {
  return std::clamp(count, 0, capacity);
}

// Calls visit(a, b) with the control indices of every consecutive pair of the rows 1-2-3-4 and
// 5-6-7-8 of every patch, in patch order. The pairs 4-5 and 8-1 cross between the rows and are
// not edges. The indices are as stored and may lie outside the model.
template <typename Visit>
void ForEachRowPair(const TMorvObject& model, Visit&& visit) {
  constexpr int32_t RowStarts[] = {1, 2, 3, 5, 6, 7};
  const int32_t patches = BoundedCount(model.PatchCount, MaxPatches);
  for (int32_t p = 1; p <= patches; ++p) {
    const TBezierPatch& patch = model.Patches[p];
    for (const int32_t k : RowStarts) visit(patch.ControlIndex[k], patch.ControlIndex[k + 1]);
  }
}

}  // namespace morv
