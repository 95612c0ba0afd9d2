// The 3D view's picture rendered headless from a model and the view's settings.
#pragma once

#include <array>
#include <cstdint>

#include "engine/model.h"
#include "engine/vector_types.h"
#include "platform/headless_render.h"

namespace morv {

// What a render may be asked for: the view's rotation angles (whole degrees 0..360), the light
// vector, a background colour 0..16777215 (red in the lowest byte), and whether a render worker
// draws as well.
struct TViewRequest {
  std::array<int32_t, 3> Angles{0, 0, 0};
  TPoint3D Light{200, 0, -70};
  int32_t Background = 32768;
  bool Threads = false;
};

// RequestError unless every angle lies in 0..360 and the background in 0..16777215.
void CheckViewRequest(const TViewRequest& request);

// Renders the model as the 3D view shows it with the view's start parameters and this request.
// A zero light and a crashed sort are in the result's report; after a crash the picture is not
// the model's.
TRenderedScene RenderView(const TMorvObject& model, const TViewRequest& request);

}  // namespace morv
