// One hover step of the 3D view end to end: the mouse move, the render and the picture shown.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QMouseEvent>

#include "no_joystick.h"
#include "silent_prompts.h"
#include "support/sample_models.h"
#include "ui/display_window.h"
#include "ui/main_window.h"
#include "ui/morv_application.h"

namespace morv::bench {
namespace {

void HoverLoop(benchmark::State& state, const TMorvObject& model, bool threads) {
  SilentPrompts prompts;
  TMorvApplication application(prompts, NoJoystick(), QString());
  CurrentModel = model;
  Form1->show();
  Display->CheckBox1->setChecked(threads);
  QApplication::processEvents();
  int step = 0;
  for (auto _ : state) {
    const QPointF at(40 + step % 280, 30 + (step * 7) % 300);
    QMouseEvent move(QEvent::MouseMove, at, Display->MainView->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Display->MainView, &move);
    Display->MainView->repaint();
    ++step;
  }
  Form1->FinishRendering();
}

void BM_HoverStepTorus1000(benchmark::State& state) {
  HoverLoop(state, TorusModel(40, 25, 100, 45), false);
}
BENCHMARK(BM_HoverStepTorus1000)->Unit(benchmark::kMillisecond);

void BM_HoverStepTorus1000Threaded(benchmark::State& state) {
  HoverLoop(state, TorusModel(40, 25, 100, 45), true);
}
BENCHMARK(BM_HoverStepTorus1000Threaded)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morv::bench
