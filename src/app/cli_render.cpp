// The 3D view's picture rendered headless, as the morv-cli commands that need it make it.
#include "app/cli_render.h"

#include <algorithm>

#include "app/cli_arguments.h"
#include "engine/angle_tables.h"
#include "engine/render_driver.h"
#include "engine/view_parameters.h"
#include "platform/qimage_canvas.h"

namespace morv {

void AnglesArgument(const std::vector<std::string>& args, std::size_t& i, int32_t (&angles)[3]) {
  for (int k = 0; k < 3; ++k) angles[k] = std::clamp(IntegerArgument(args, ++i), 0, 360);
}

std::optional<QImage> RenderHeadless(const TMorvObject& model, const int32_t (&angles)[3],
                                     const TPoint3D& light, int32_t background, bool threads,
                                     std::ostream& err) {
  MakeAngleTables();
  SetStartViewParameters();
  LightVector = light;
  BackgroundColour = background;
  QImageCanvas canvas(TargetWidth, TargetHeight);
  TargetCanvas = &canvas;
  TRenderReport report;
  {
    TRenderDriver driver;
    report = driver.Render(model, angles[0], angles[1], angles[2], threads);
  }
  TargetCanvas = nullptr;
  if (report.LightFailed) err << LightErrorText << '\n';
  if (report.SortCrashed) {
    err << SortCrashText << '\n';
    return std::nullopt;
  }
  return canvas.Image();
}

}  // namespace morv
