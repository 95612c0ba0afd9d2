// The printed model sheet: the three pages of a model filled to capacity, drawn without printing.
#include <benchmark/benchmark.h>

#include "drawing/print_sheet.h"
#include "full_model.h"

namespace morv::bench {
namespace {

void BM_PrintSheetThreePagesFullModel(benchmark::State& state) {
  const TMorvObject model = FullCapacityModel();
  QImage view(360, 360, QImage::Format_RGB32);
  view.fill(Qt::darkGreen);
  const TPrintHeader header = MakePrintHeader(model, view, 26000, 12000, "15 ms");
  for (auto _ : state) {
    for (int page = 1; page <= SheetPageCount; ++page) {
      const QImage sheet = DrawSheetPage(model, page, header);
      benchmark::DoNotOptimize(sheet.constBits());
    }
  }
}
BENCHMARK(BM_PrintSheetThreePagesFullModel)->Unit(benchmark::kMillisecond);

void BM_PrintSheetDiagramEmpty(benchmark::State& state) {
  const TMorvObject empty;
  QImage diagram(SheetDiagramSize, SheetDiagramSize, QImage::Format_RGB32);
  for (auto _ : state) {
    DrawSheetDiagram(empty, TViewPlane::XY, diagram);
    benchmark::DoNotOptimize(diagram.constBits());
  }
}
BENCHMARK(BM_PrintSheetDiagramEmpty)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace morv::bench
