// The render server's work for one request without sockets: judge the bytes, read the scene and
// a 1000-patch model, render, write the bitmap.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "app/render_job.h"
#include "engine/model_file.h"
#include "engine/render_request.h"
#include "engine/scene_file.h"
#include "platform/text_file.h"
#include "support/sample_models.h"

namespace morv::bench {
namespace {

void BM_ServeRequestTorus1000(benchmark::State& state) {
  QTemporaryDir share;
  TextLines model;
  SaveModel(TorusModel(40, 25, 100, 45), model);
  WriteTextLines(share.filePath("TORUS.MVD"), model);
  TSceneSettings scene;
  scene.AngleX = 30;
  scene.AngleY = 20;
  WriteTextLines(share.filePath("TORUS.MED"), SceneLines(scene));
  const std::string request = std::string(1, static_cast<char>(RequestMark)) + "TORUS";
  for (auto _ : state) {
    const TRequestVerdict verdict = JudgeRequest(request, true);
    const TServedRender served = ServeRender(share.path(), verdict.Name);
    benchmark::DoNotOptimize(served.Polygons);
  }
}
BENCHMARK(BM_ServeRequestTorus1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morv::bench
