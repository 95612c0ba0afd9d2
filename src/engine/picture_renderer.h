// The 3D view's drawing at any size with N x N samples a pixel, rendered in bands of rows on
// several threads so that memory stays bounded whatever the size.
#pragma once

#include <array>
#include <cstdint>

#include "engine/model.h"
#include "engine/pixel_buffer.h"
#include "engine/render_state.h"
#include "engine/renderer.h"
#include "engine/vector_types.h"

namespace morv {

struct TPictureView {
  int32_t Width = 360;
  int32_t Height = 360;
  int32_t Samples = 1;  // a side: each pixel is the mean of Samples x Samples samples
  std::array<int32_t, 3> Angles{0, 0, 0};
  TPoint3D Light{200, 0, -70};
  int32_t Background = 32768;
};

struct TPictureReport {
  TRenderReport Render;
  bool ProjectionFailed = false;
  int32_t Points = 0;
  int32_t Polygons = 0;
};

// The most memory the sample bands of all threads take together.
inline constexpr int64_t PictureBandBytes = 32 << 20;

// Renders `model` into `out` (view.Width x view.Height): the view centred on (W / 2, H / 2) at the
// scale 200 x min(W, H) / 360, each sample the renderer's own flat-shaded, depth-sorted drawing of
// the same polygons with the same rounding, at N times the size; a pixel is the mean of its
// samples, rounded. At 360 x 360 and one sample this is the 3D view's drawing. `state` holds the
// snapshot and the polygons; bands of sample rows are filled on up to `threads` threads, each
// band at most PictureBandBytes / threads. After a crashed sort `out` holds only the background.
TPictureReport RenderPictureInto(TRenderState& state, const TMorvObject& model,
                                 const TPictureView& view, TPixelBuffer& out, int threads);

}  // namespace morv
