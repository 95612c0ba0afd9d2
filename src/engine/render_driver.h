// Runs local renders of a model: takes the snapshot, and renders on the calling thread or, with a
// worker, on both the worker and the calling thread, as the 3D view's multi-threading asks.
#pragma once

#include <memory>

#include "engine/model.h"
#include "engine/renderer.h"
#include "engine/vector_types.h"

namespace morv {

class TRenderDriver {
 public:
  // Renders on the main render state, the 3D view's.
  TRenderDriver() : TRenderDriver(MainRenderState) {}
  // Renders on `state`, which must outlive the driver; the caller sets its canvas and view.
  explicit TRenderDriver(TRenderState& state) : state_(&state) {}
  TRenderDriver(const TRenderDriver&) = delete;
  TRenderDriver& operator=(const TRenderDriver&) = delete;
  ~TRenderDriver() { Finish(); }

  // Copies `model` into the state's SceneObject and renders it onto its TargetCanvas. With
  // `threaded`, a new worker renders the snapshot too; it may still be drawing when this returns,
  // holding the canvas lock, and the next render (or Finish) waits for it before touching the
  // snapshot.
  TRenderReport Render(const TMorvObject& model, int32_t angleX, int32_t angleY, int32_t angleZ,
                       bool threaded);

  // Waits for a worker that may still be rendering and releases it.
  void Finish();

  // The light and the background are read by a worker while it renders: they change only once
  // it is done.
  void SetLightVector(const TPoint3D& light);
  void SetBackgroundColour(int32_t colour);

 private:
  TRenderState* state_;
  std::unique_ptr<TGraphicsThread> worker_;
};

}  // namespace morv
