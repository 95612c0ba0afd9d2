// The drag space: full redraws of small and full models, and one drag step end to end.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QMouseEvent>

#include "full_model.h"
#include "no_joystick.h"
#include "silent_prompts.h"
#include "support/sample_models.h"
#include "ui/display_window.h"
#include "ui/main_window.h"
#include "ui/morv_application.h"

namespace morv::bench {
namespace {

// The full model with every vertex and joint moved into the plane z = 0, spread over the
// picture: the most the x-y view can ever show.
TMorvObject FullModelInOnePlane() {
  TMorvObject m = FullCapacityModel();
  for (int32_t i = 1; i <= m.ControlCount; ++i) {
    m.Controls[i] = {i % 190 - 95, (i * 37) % 190 - 95, 0};
  }
  for (int32_t j = 1; j <= m.JointCount; ++j) {
    m.Joints[j].Position = {(j * 53) % 190 - 95, (j * 29) % 190 - 95, 0};
  }
  return m;
}

// The same with no two vertices and no two joints at the same place: no two lines share both
// ends, so every one of them is drawn.
TMorvObject FullModelInOnePlaneDistinct() {
  TMorvObject m = FullCapacityModel();
  for (int32_t i = 1; i <= m.ControlCount; ++i)
    m.Controls[i] = {i % 40 * 5 - 100, i / 40 * 8 - 100, 0};
  for (int32_t j = 1; j <= m.JointCount; ++j) {
    m.Joints[j].Position = {j % 40 * 5 - 98, j / 40 * 8 - 96, 0};
  }
  return m;
}

// A 10 x 10 grid of vertices in the plane z = 0, 27 patches over its rows and 5 joints.
TMorvObject GridModel() {
  TMorvObject m;
  for (int r = 0; r < 10; ++r) {
    for (int c = 0; c < 10; ++c) m.Controls[++m.ControlCount] = {c * 18 - 81, r * 18 - 81, 0};
  }
  for (int r = 0; r < 9; ++r) {
    for (int s = 0; s < 3; ++s) {
      TBezierPatch& p = m.Patches[++m.PatchCount];
      for (int k = 0; k < 4; ++k) {
        p.ControlIndex[k + 1] = r * 10 + 3 * s + k + 1;
        p.ControlIndex[k + 5] = (r + 1) * 10 + 3 * s + k + 1;
      }
    }
  }
  for (int j = 0; j < 5; ++j) {
    TJoint& joint = m.Joints[++m.JointCount];
    joint.Position = {j * 30 - 60, 90, 0};
    for (int k = 0; k < 20; ++k) joint.ControlRefs[++joint.RefCount] = j * 20 + k + 1;
  }
  return m;
}

void DrawLoop(benchmark::State& state, const TMorvObject& model) {
  SilentPrompts prompts;
  TMorvApplication application(prompts, NoJoystick(), QString());
  CurrentModel = model;
  for (auto _ : state) {
    Form1->DrawTheDrag();
    benchmark::DoNotOptimize(Form1->DragSpace->Picture().constBits());
  }
  state.counters["controls in plane"] = Form1->PlaneControls.Count;
  state.counters["joints in plane"] = Form1->PlaneJoints.Count;
}

void BM_DrawTheDragFullModelInPlane(benchmark::State& state) {
  DrawLoop(state, FullModelInOnePlane());
}
BENCHMARK(BM_DrawTheDragFullModelInPlane)->Unit(benchmark::kMillisecond);

void BM_DrawTheDragFullModelInPlaneDistinct(benchmark::State& state) {
  DrawLoop(state, FullModelInOnePlaneDistinct());
}
BENCHMARK(BM_DrawTheDragFullModelInPlaneDistinct)->Unit(benchmark::kMillisecond);

void BM_DrawTheDragGrid100(benchmark::State& state) { DrawLoop(state, GridModel()); }
BENCHMARK(BM_DrawTheDragGrid100)->Unit(benchmark::kMicrosecond);

void BM_DrawTheDragEmpty(benchmark::State& state) { DrawLoop(state, TMorvObject{}); }
BENCHMARK(BM_DrawTheDragEmpty)->Unit(benchmark::kMicrosecond);

// One step of a drag of a torus vertex in the x-z plane: the mouse move event, the drag space
// and the 3D view redrawn.
void BM_DragStepTorus100(benchmark::State& state) {
  SilentPrompts prompts;
  TMorvApplication application(prompts, NoJoystick(), QString());
  CurrentModel = TorusModel(10, 10, 60, 25);
  Form1->show();
  Form1->PLxz->setChecked(true);
  Form1->DrawTheDrag();
  QApplication::processEvents();
  // The first vertex lies at y = 0: x = 85, z = 0.
  const QPoint start(185, 100);
  QMouseEvent press(QEvent::MouseButtonPress, start, Form1->DragSpace->mapToGlobal(start),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Form1->DragSpace, &press);
  if (!Form1->Dragging) state.SkipWithError("nothing picked");
  int step = 0;
  for (auto _ : state) {
    const QPointF at(170 + step % 20, 90 + step % 15);
    QMouseEvent move(QEvent::MouseMove, at, Form1->DragSpace->mapToGlobal(at), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Form1->DragSpace, &move);
    ++step;
  }
  Form1->FinishRendering();
}
BENCHMARK(BM_DragStepTorus100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morv::bench
