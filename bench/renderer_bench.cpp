// The patch renderer on one core: closed surfaces at changing angles, and a flat sheet face-on.
#include <benchmark/benchmark.h>

#include "engine/angle_tables.h"
#include "engine/renderer.h"
#include "engine/view_parameters.h"
#include "support/sample_models.h"

namespace morv::bench {
namespace {

void RenderLoop(benchmark::State& state, const TMorvObject& model, bool turn) {
  MakeAngleTables();
  SetStartViewParameters();
  static TMemoryCanvas canvas(360, 360);
  TargetCanvas = &canvas;
  SceneObject = model;
  int32_t step = 0;
  int64_t visible = 0;
  for (auto _ : state) {
    const int32_t a = turn ? (step * 7) % 361 : 0;
    const int32_t b = turn ? (step * 13) % 361 : 0;
    RenderModel(a, b, turn ? (step * 3) % 361 : 0);
    visible += VisibleCount;
    ++step;
  }
  state.counters["visible"] = static_cast<double>(visible) / static_cast<double>(step);
  TargetCanvas = nullptr;
}

void BM_RenderTorus100(benchmark::State& state) {
  RenderLoop(state, TorusModel(10, 10, 100, 45), true);
}
BENCHMARK(BM_RenderTorus100)->Unit(benchmark::kMicrosecond);

void BM_RenderTorus1000(benchmark::State& state) {
  RenderLoop(state, TorusModel(40, 25, 100, 45), true);
}
BENCHMARK(BM_RenderTorus1000)->Unit(benchmark::kMicrosecond);

void BM_RenderFlatSheet1000FaceOn(benchmark::State& state) {
  RenderLoop(state, FlatSheetModel(1000), false);
}
BENCHMARK(BM_RenderFlatSheet1000FaceOn)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace morv::bench

namespace morv::bench {
namespace {

void BM_RenderEmpty(benchmark::State& state) { RenderLoop(state, TMorvObject{}, true); }
BENCHMARK(BM_RenderEmpty)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace morv::bench
