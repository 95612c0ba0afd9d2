// The 3D view's picture rendered without a window, for the command-line programs and the server.
#include "platform/headless_render.h"

#include <algorithm>
#include <memory>

#include "engine/render_driver.h"
#include "engine/render_state.h"
#include "engine/view_parameters.h"
#include "platform/qimage_canvas.h"

namespace morv {

namespace {

// Each calling thread renders on a state of its own, made at its first render and kept, so that a
// render neither allocates nor clears the megabytes of work buffers again.
TRenderState& ThreadRenderState() {
  thread_local std::unique_ptr<TRenderState> state = std::make_unique<TRenderState>();
  return *state;
}

// The state's canvas must not outlive the canvas it points at, whatever the render throws.
class CanvasBinding {
 public:
  CanvasBinding(TRenderState& state, TRenderCanvas& canvas) : state_(state) {
    state_.TargetCanvas = &canvas;
  }
  CanvasBinding(const CanvasBinding&) = delete;
  CanvasBinding& operator=(const CanvasBinding&) = delete;
  ~CanvasBinding() { state_.TargetCanvas = nullptr; }

 private:
  TRenderState& state_;
};

}  // namespace

TRenderedScene RenderScene(const TSceneSettings& scene, const TMorvObject& model, bool threads) {
  TRenderState& state = ThreadRenderState();
  SetStartViewParameters(state.View);
  state.View.ViewScale = scene.Scale;
  state.View.LightVector = scene.Light;
  state.View.BackgroundColour = scene.Background & 0xFFFFFF;
  QImageCanvas canvas(state.View.TargetWidth, state.View.TargetHeight);
  TRenderedScene rendered;
  {
    const CanvasBinding binding(state, canvas);
    TRenderDriver driver(state);
    rendered.Report =
        driver.Render(model, std::clamp(scene.AngleX, 0, 360), std::clamp(scene.AngleY, 0, 360),
                      std::clamp(scene.AngleZ, 0, 360), threads);
  }
  rendered.Points = state.PointCount;
  rendered.Polygons = state.PolygonCount;
  rendered.Image = canvas.Image();
  return rendered;
}

TRenderedPicture RenderPictureScene(const TPictureView& view, const TMorvObject& model,
                                    int threads) {
  TRenderState& state = ThreadRenderState();
  SetStartViewParameters(state.View);
  QImageCanvas canvas(view.Width, view.Height);
  TPixelBuffer pixels = canvas.Pixels();
  TRenderedPicture rendered;
  rendered.Report = RenderPictureInto(state, model, view, pixels, threads);
  if (rendered.Report.ProjectionFailed) canvas.TextOut(0, 0, ProjectionErrorText);
  rendered.Image = std::move(canvas.Image());
  return rendered;
}

}  // namespace morv
