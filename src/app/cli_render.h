// The 3D view's picture rendered headless, as the morv-cli commands that need it make it.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <optional>
#include <ostream>

#include "app/cli_arguments.h"
#include "engine/model.h"
#include "operations/view_render.h"

namespace morv {

// The rotation angles of the commands that render: whole degrees in the range the view's spin
// edits hold.
inline const TOptionShape AnglesOption{"--angles", {{0, 360}, {0, 360}, {0, 360}}};

// The angles the last --angles of the command line gives; 0 0 0 without one.
std::array<int32_t, 3> GivenAngles(const TCommandLine& line);

// Renders the model as the 3D view does. A zero light is reported on `err` and the render goes
// on; a crashed sort is reported there too, and nothing comes back.
std::optional<TRenderedScene> RenderHeadless(const TMorvObject& model, const TViewRequest& request,
                                             std::ostream& err);

}  // namespace morv
