// The 3D view's picture rendered headless, as the morv-cli commands that need it make it.
#include "app/cli_render.h"

#include <algorithm>

#include "engine/renderer.h"

namespace morv {

std::array<int32_t, 3> GivenAngles(const TCommandLine& line) {
  std::array<int32_t, 3> angles{0, 0, 0};
  if (const TGivenOption* given = LastGiven(line, AnglesOption.Name)) {
    std::ranges::copy(given->Numbers, angles.begin());
  }
  return angles;
}

std::optional<TRenderedScene> RenderHeadless(const TMorvObject& model, const TViewRequest& request,
                                             std::ostream& err) {
  TRenderedScene rendered = RenderView(model, request);
  if (rendered.Report.LightFailed) err << "morv-cli: " << LightErrorText << '\n';
  if (rendered.Report.SortCrashed) {
    err << "morv-cli: " << SortCrashText << '\n';
    return std::nullopt;
  }
  return rendered;
}

}  // namespace morv
