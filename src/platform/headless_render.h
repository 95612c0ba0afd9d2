// The 3D view's picture rendered without a window, for the command-line programs and the server.
#pragma once

#include <QImage>
#include <cstdint>

#include "engine/model.h"
#include "engine/picture_renderer.h"
#include "engine/renderer.h"
#include "engine/scene_file.h"

namespace morv {

struct TRenderedScene {
  QImage Image;
  int32_t Points = 0;
  int32_t Polygons = 0;
  TRenderReport Report;
};

// Renders `model` as the 3D view shows it with these settings, angles clamped to 0..360 as the
// view's spin edits clamp them, on the calling thread or, with `threads`, on a render worker as
// well. Each calling thread renders on a render state of its own, never on the 3D view's, so any
// number of threads may call it at once.
TRenderedScene RenderScene(const TSceneSettings& scene, const TMorvObject& model,
                           bool threads = false);

struct TRenderedPicture {
  QImage Image;
  TPictureReport Report;
};

// The 3D view's drawing at the view's size and samples (see RenderPictureInto) on the calling
// thread's own state and up to `threads` threads; a failed projection writes its notice at the top
// left, as the 3D view does. Safe to call from several threads at once.
TRenderedPicture RenderPictureScene(const TPictureView& view, const TMorvObject& model,
                                    int threads);

}  // namespace morv
