// One tick of the animation pump end to end: every playing animation steps, both views redraw.
#include <benchmark/benchmark.h>
#include <QApplication>

#include "engine/animation.h"
#include "engine/animation_playback.h"
#include "no_joystick.h"
#include "silent_prompts.h"
#include "support/sample_models.h"
#include "ui/main_window.h"
#include "ui/morv_application.h"

namespace morv::bench {
namespace {

// The 1000-patch torus with ten joints, each carrying 100 of its vertices, all ten animated.
void BM_AnimationPumpTickTorus1000(benchmark::State& state) {
  SilentPrompts prompts;
  TMorvApplication application(prompts, NoJoystick(), QString());
  CurrentModel = TorusModel(40, 25, 100, 45);
  for (int32_t j = 1; j <= 10; ++j) {
    TJoint& joint = CurrentModel.Joints[++CurrentModel.JointCount];
    joint.Mass = 1;
    for (int32_t k = 1; k <= MaxJointRefs; ++k)
      joint.ControlRefs[++joint.RefCount] = (j - 1) * 100 + k;
    TAnimation& a = AnimationSet.Animations[++AnimationSet.Count];
    a.Joint = j;
    a.LocationCount = 2;
    a.Locations[2] = {0, 40, 0};
    a.Speed = 2;
    a.Repeat = true;
    PlayAnimation(CurrentModel, AnimationSet, AnimationSet.Count);
  }
  Form1->show();
  QApplication::processEvents();
  for (auto _ : state) Form1->AnimationPumpTimer();
  Form1->FinishRendering();
}
BENCHMARK(BM_AnimationPumpTickTorus1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morv::bench
