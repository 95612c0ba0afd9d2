// The 3D view's picture rendered headless, as the morv-cli commands that need it make it.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/cli_arguments.h"
#include "engine/model.h"
#include "engine/vector_types.h"

namespace morv {

// The rotation angles of the commands that render: whole degrees in the range the view's spin
// edits hold.
inline const TOptionShape AnglesOption{"--angles", {{0, 360}, {0, 360}, {0, 360}}};

// The angles the last --angles of the command line gives; `angles` is left alone without one.
void GivenAngles(const TCommandLine& line, int32_t (&angles)[3]);

// Renders the model as the 3D view does, with the view's start parameters and this light and
// background, and leaves the counts in PointCount and PolygonCount. A zero light is reported on
// `err` and the render goes on; a crashed sort is reported there too, and nothing comes back.
std::optional<QImage> RenderHeadless(const TMorvObject& model, const int32_t (&angles)[3],
                                     const TPoint3D& light, int32_t background, bool threads,
                                     std::ostream& err);

}  // namespace morv
