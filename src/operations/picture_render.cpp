// Pictures of a model of any size, supersampled.
#include "operations/picture_render.h"

#include <thread>

#include "engine/renderer.h"
#include "operations/operation_errors.h"
#include "operations/view_render.h"
#include "platform/headless_render.h"

namespace morv {

void CheckPictureRequest(const TPictureRequest& request) {
  const auto check = [](const char* what, int32_t value, int32_t low, int32_t high) {
    if (value < low || value > high) {
      throw RequestError(std::string(what) + " " + std::to_string(value) + " is outside " +
                         std::to_string(low) + ".." + std::to_string(high));
    }
  };
  check("The width", request.Width, 1, MaxPictureSide);
  check("The height", request.Height, 1, MaxPictureSide);
  check("The samples", request.Samples, 1, MaxPictureSamples);
  TViewRequest view;
  view.Angles = request.Angles;
  view.Background = request.Background;
  CheckViewRequest(view);
}

QImage RenderPicture(const TMorvObject& model, const TPictureRequest& request) {
  CheckPictureRequest(request);
  TPictureView view;
  view.Width = request.Width;
  view.Height = request.Height;
  view.Samples = request.Samples;
  view.Angles = request.Angles;
  view.Light = request.Light;
  view.Background = request.Background;
  const TRenderedPicture rendered =
      RenderPictureScene(view, model, static_cast<int>(std::thread::hardware_concurrency()));
  if (rendered.Report.Render.SortCrashed) throw CommandError(SortCrashText);
  return rendered.Image;
}

}  // namespace morv
