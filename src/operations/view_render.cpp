// The 3D view's picture rendered headless from a model and the view's settings.
#include "operations/view_render.h"

#include <string>

#include "engine/scene_file.h"
#include "operations/operation_errors.h"

namespace morv {

void CheckViewRequest(const TViewRequest& request) {
  for (const int32_t angle : request.Angles) {
    if (angle < 0 || angle > 360) {
      throw RequestError("The angle " + std::to_string(angle) + " is outside 0..360");
    }
  }
  if (request.Background < 0 || request.Background > 0xFFFFFF) {
    throw RequestError("The background colour " + std::to_string(request.Background) +
                       " is outside 0..16777215");
  }
}

TRenderedScene RenderView(const TMorvObject& model, const TViewRequest& request) {
  CheckViewRequest(request);
  TSceneSettings scene;
  scene.Light = request.Light;
  scene.Background = request.Background;
  scene.AngleX = request.Angles[0];
  scene.AngleY = request.Angles[1];
  scene.AngleZ = request.Angles[2];
  return RenderScene(scene, model, request.Threads);
}

}  // namespace morv
