// The 3D view's picture rendered without a window, for the command-line programs and the server.
#include "platform/headless_render.h"

#include <algorithm>

#include "engine/angle_tables.h"
#include "engine/render_driver.h"
#include "engine/view_parameters.h"
#include "platform/qimage_canvas.h"

namespace morv {

namespace {

// TargetCanvas must not outlive the canvas it points at, whatever the render throws.
class CanvasBinding {
 public:
  explicit CanvasBinding(TRenderCanvas& canvas) { TargetCanvas = &canvas; }
  CanvasBinding(const CanvasBinding&) = delete;
  CanvasBinding& operator=(const CanvasBinding&) = delete;
  ~CanvasBinding() { TargetCanvas = nullptr; }
};

}  // namespace

TRenderedScene RenderScene(const TSceneSettings& scene, const TMorvObject& model, bool threads) {
  MakeAngleTables();
  SetStartViewParameters();
  ViewScale = scene.Scale;
  LightVector = scene.Light;
  BackgroundColour = scene.Background & 0xFFFFFF;
  QImageCanvas canvas(TargetWidth, TargetHeight);
  TRenderedScene rendered;
  {
    const CanvasBinding binding(canvas);
    TRenderDriver driver;
    rendered.Report =
        driver.Render(model, std::clamp(scene.AngleX, 0, 360), std::clamp(scene.AngleY, 0, 360),
                      std::clamp(scene.AngleZ, 0, 360), threads);
  }
  rendered.Points = PointCount;
  rendered.Polygons = PolygonCount;
  rendered.Image = canvas.Image();
  return rendered;
}

}  // namespace morv
