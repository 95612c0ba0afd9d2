// Pictures of any size: the 1000-patch torus at 1920 x 1080 with 4 x 4 samples on both cores,
// the cost of one sample beside the 360 x 360 view's, and the memory of the largest picture.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "engine/angle_tables.h"
#include "engine/picture_renderer.h"
#include "support/sample_models.h"

namespace morv::bench {
namespace {

int Cores() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

void PictureLoop(benchmark::State& state, int32_t width, int32_t height, int32_t samples,
                 int threads) {
  MakeAngleTables();
  const TMorvObject torus = TorusModel(40, 25, 100, 45);
  TPictureView view;
  view.Width = width;
  view.Height = height;
  view.Samples = samples;
  view.Angles = {30, 45, 0};
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * height);
  TPixelBuffer out{pixels.data(), width, height, width};
  auto renderState = std::make_unique<TRenderState>();
  for (auto _ : state) {
    RenderPictureInto(*renderState, torus, view, out, threads);
    benchmark::DoNotOptimize(pixels.data());
  }
  const double sampleCount = static_cast<double>(width) * height * samples * samples;
  state.counters["ns_per_sample"] =
      benchmark::Counter(sampleCount * static_cast<double>(state.iterations()) * 1e-9,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_PictureTorus1000At360(benchmark::State& state) { PictureLoop(state, 360, 360, 1, 1); }
BENCHMARK(BM_PictureTorus1000At360)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PictureTorus1000At1920x1080Samples4(benchmark::State& state) {
  PictureLoop(state, 1920, 1080, 4, Cores());
}
BENCHMARK(BM_PictureTorus1000At1920x1080Samples4)->Unit(benchmark::kMillisecond)->UseRealTime();

// The heap in use, polled while the largest picture renders: its peak beyond what was in use
// before, the picture itself not counted since it is allocated first.
void BM_PictureMemoryAt8192Samples8(benchmark::State& state) {
  MakeAngleTables();
  const TMorvObject torus = TorusModel(40, 25, 100, 45);
  TPictureView view;
  view.Width = 8192;
  view.Height = 8192;
  view.Samples = 8;
  view.Angles = {30, 45, 0};
  std::vector<uint32_t> pixels(static_cast<std::size_t>(view.Width) * view.Height);
  TPixelBuffer out{pixels.data(), view.Width, view.Height, view.Width};
  const auto inUse = [] {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<int64_t>(info.uordblks + info.hblkhd);
  };
  int64_t peak = 0;
  for (auto _ : state) {
    const int64_t before = inUse();
    std::atomic<bool> done{false};
    std::atomic<int64_t> highest{0};
    std::thread watcher([&] {
      while (!done.load()) {
        highest.store(std::max(highest.load(), inUse() - before));
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
    });
    auto renderState = std::make_unique<TRenderState>();
    RenderPictureInto(*renderState, torus, view, out, Cores());
    renderState.reset();
    done.store(true);
    watcher.join();
    peak = std::max(peak, highest.load());
  }
  state.counters["peak_MiB_beyond_picture"] = static_cast<double>(peak) / (1 << 20);
}
BENCHMARK(BM_PictureMemoryAt8192Samples8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
}  // namespace morv::bench
