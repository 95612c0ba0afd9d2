// The 3D view's picture rendered headless, as the morv-cli commands that need it make it.
#include "app/cli_render.h"

#include <algorithm>

#include "engine/renderer.h"
#include "platform/headless_render.h"

namespace morv {

void GivenAngles(const TCommandLine& line, int32_t (&angles)[3]) {
  if (const TGivenOption* given = LastGiven(line, AnglesOption.Name)) {
    std::ranges::copy(given->Numbers, angles);
  }
}

std::optional<QImage> RenderHeadless(const TMorvObject& model, const int32_t (&angles)[3],
                                     const TPoint3D& light, int32_t background, bool threads,
                                     std::ostream& err) {
  TSceneSettings scene;
  scene.Light = light;
  scene.Background = background;
  scene.AngleX = angles[0];
  scene.AngleY = angles[1];
  scene.AngleZ = angles[2];
  const TRenderedScene rendered = RenderScene(scene, model, threads);
  // The headless render leaves the program's own render state alone; the commands report its
  // counts from there.
  PointCount = rendered.Points;
  PolygonCount = rendered.Polygons;
  if (rendered.Report.LightFailed) err << "morv-cli: " << LightErrorText << '\n';
  if (rendered.Report.SortCrashed) {
    err << "morv-cli: " << SortCrashText << '\n';
    return std::nullopt;
  }
  return rendered.Image;
}

}  // namespace morv
