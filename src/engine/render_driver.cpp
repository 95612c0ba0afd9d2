// Runs local renders of a model on the calling thread, or on a worker and the calling thread.
#include "engine/render_driver.h"

namespace morv {

TRenderReport TRenderDriver::Render(const TMorvObject& model, int32_t angleX, int32_t angleY,
                                    int32_t angleZ, bool threaded) {
  Finish();
  TRenderState& state = *state_;
  state.SceneObject = model;
  if (!threaded) return RenderModel(state, angleX, angleY, angleZ);
  state.RenderAngleX = angleX;
  state.RenderAngleY = angleY;
  state.RenderAngleZ = angleZ;
  worker_ = std::make_unique<TGraphicsThread>(state);
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
  state_->View.LightVector = light;
}

void TRenderDriver::SetBackgroundColour(int32_t colour) {
  Finish();
  state_->View.BackgroundColour = colour;
}

}  // namespace morv
