// The headless render that morv-cli and the Python module share, on the full-capacity model: the
// figure the module's own render is measured against.
#include <benchmark/benchmark.h>

#include "full_model.h"
#include "operations/view_render.h"

namespace morv::bench {
namespace {

void BM_RenderViewFullCapacity(benchmark::State& state) {
  const TMorvObject model = FullCapacityModel();
  TViewRequest request;
  request.Angles = {30, 60, 0};
  for (auto _ : state) benchmark::DoNotOptimize(RenderView(model, request).Image.constBits());
}
BENCHMARK(BM_RenderViewFullCapacity)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace morv::bench
