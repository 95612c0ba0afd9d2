// One mechanics tick over a full joint table, and one animation tick with every slot playing.
#include <benchmark/benchmark.h>

#include "engine/animation_playback.h"
#include "engine/mechanics.h"

namespace morv::bench {
namespace {

// 1000 joints spread over a cube, each carrying 10 vertices.
TMorvObject SwarmModel() {
  TMorvObject m;
  m.ControlCount = MaxControls;
  for (int32_t i = 1; i <= MaxControls; ++i) m.Controls[i] = {i % 100, i % 37, i % 91};
  m.JointCount = MaxJoints;
  for (int32_t i = 1; i <= MaxJoints; ++i) {
    TJoint& j = m.Joints[i];
    j.Position = {(i * 37) % 400 - 200, (i * 53) % 400 - 200, (i * 71) % 400 - 200};
    j.Mass = 1 + i % 1000;
    j.RefCount = 10;
    for (int32_t k = 1; k <= 10; ++k) j.ControlRefs[k] = (i * 10 + k) % MaxControls + 1;
  }
  return m;
}

void BM_PhysicsStep1000Joints(benchmark::State& state) {
  static TMorvObject model = SwarmModel();
  GravitationalConstant = GravitationalConstantFrom(10, 12);
  for (auto _ : state) {
    PhysicsStep(model);
    benchmark::DoNotOptimize(&model);
  }
  state.counters["pulls"] = 1000.0 * 999.0;
}
BENCHMARK(BM_PhysicsStep1000Joints)->Unit(benchmark::kMillisecond);

// 100 animations playing at once, each on its own joint, walking back and forth.
void BM_AnimationStep100Playing(benchmark::State& state) {
  static TMorvObject model = SwarmModel();
  static TAnimationList set;
  set.Count = MaxAnimations;
  for (int32_t k = 1; k <= MaxAnimations; ++k) {
    TAnimation& a = set.Animations[k];
    a.Joint = k;
    a.LocationCount = 3;
    a.Locations[1] = {-100, 0, k};
    a.Locations[2] = {100, 50, -k};
    a.Locations[3] = {0, -100, 0};
    a.Speed = 1 + k % 8;
    a.Repeat = true;
    PlayAnimation(model, set, k);
  }
  for (auto _ : state) {
    AnimationStep(model, set);
    benchmark::DoNotOptimize(&model);
  }
}
BENCHMARK(BM_AnimationStep100Playing)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace morv::bench
