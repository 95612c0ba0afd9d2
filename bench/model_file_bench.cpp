// Loading and saving a full-capacity model: in memory, and from disk into the working model.
#include <benchmark/benchmark.h>
#include <QTemporaryDir>

#include "engine/model_file.h"
#include "full_model.h"
#include "platform/text_file.h"

namespace morv::bench {
namespace {

void BM_SaveModel(benchmark::State& state) {
  const TMorvObject model = FullCapacityModel();
  TextLines lines;
  for (auto _ : state) {
    SaveModel(model, lines);
    benchmark::DoNotOptimize(lines.data());
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_SaveModel)->Unit(benchmark::kMillisecond);

void BM_LoadModel(benchmark::State& state) {
  TextLines lines;
  SaveModel(FullCapacityModel(), lines);
  static TMorvObject model;
  for (auto _ : state) {
    LoadModel(lines, model);
    benchmark::DoNotOptimize(&model);
  }
  state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_LoadModel)->Unit(benchmark::kMillisecond);

void BM_LoadFileIntoCurrentModel(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("full.MVD");
  TextLines lines;
  SaveModel(FullCapacityModel(), lines);
  WriteTextLines(path, lines);
  for (auto _ : state) {
    LoadModel(ReadTextLines(path), CurrentModel);
    benchmark::DoNotOptimize(&CurrentModel);
  }
}
BENCHMARK(BM_LoadFileIntoCurrentModel)->Unit(benchmark::kMillisecond);

void BM_SaveFileAtomically(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("full.MVD");
  const TMorvObject model = FullCapacityModel();
  for (auto _ : state) {
    TextLines lines;
    SaveModel(model, lines);
    WriteTextLines(path, lines);
  }
}
BENCHMARK(BM_SaveFileAtomically)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morv::bench
