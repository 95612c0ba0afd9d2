// The parameters of the 3D view and their start values.
#include "engine/view_parameters.h"

#include "engine/render_state.h"

namespace morv {

void SetStartViewParameters(TViewParameters& view) { view = TViewParameters{}; }

void SetStartViewParameters() { SetStartViewParameters(MainRenderState.View); }

}  // namespace morv
