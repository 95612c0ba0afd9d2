// Runs local renders of a model on the calling thread, or on a worker and the calling thread.
#include "engine/render_driver.h"

#include "engine/view_parameters.h"

namespace morv {

TRenderReport TRenderDriver::Render(const TMorvObject& model, int32_t angleX, int32_t angleY,
                                    int32_t angleZ, bool threaded) {
  Finish();
  SceneObject = model;
  if (!threaded) return RenderModel(angleX, angleY, angleZ);
  RenderAngleX = angleX;
  RenderAngleY = angleY;
  RenderAngleZ = angleZ;
  worker_ = std::make_unique<TGraphicsThread>();
  worker_->Start();
  return worker_->Execute();
}

void TRenderDriver::Finish() {
  if (!worker_) return;
  worker_->Join();
  worker_.reset();
}

void TRenderDriver::SetLightVector(const TPoint3D& light) {
  Finish();
  LightVector = light;
}

void TRenderDriver::SetBackgroundColour(int32_t colour) {
  Finish();
  BackgroundColour = colour;
}

}  // namespace morv
