// The 3D view's picture rendered headless, as the morv-cli commands that need it make it.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "engine/model.h"
#include "engine/vector_types.h"

namespace morv {

// The three rotation angles after "--angles" at args[i]: read from args[i + 1..i + 3], brought
// into 0..360 as the view's spin edits clamp what is set into them; i ends on the last.
void AnglesArgument(const std::vector<std::string>& args, std::size_t& i, int32_t (&angles)[3]);

// Renders the model as the 3D view does, with the view's start parameters and this light and
// background, and leaves the counts in PointCount and PolygonCount. A zero light is reported on
// `err` and the render goes on; a crashed sort is reported there too, and nothing comes back.
std::optional<QImage> RenderHeadless(const TMorvObject& model, const int32_t (&angles)[3],
                                     const TPoint3D& light, int32_t background, bool threads,
                                     std::ostream& err);

}  // namespace morv
