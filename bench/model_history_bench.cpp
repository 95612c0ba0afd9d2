// The model's history on a full-capacity model: recording one drag step, undoing it, the heap
// that a thousand steps hold, and what is kept of a thousand Loads of two full models.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

#include "full_model.h"
#include "ui/model_history.h"

namespace morv::bench {
namespace {

// A drag of joint `i`'s worth: the joint moves and carries its 100 vertices.
void DragStep(TModelHistory& history, TMorvObject& model, int64_t i) {
  history.Command(QStringLiteral("Drag Joint"));
  const int32_t joint = static_cast<int32_t>(i % MaxJoints) + 1;
  MoveJoint(model, joint, model.Joints[joint].Position.X + 1, static_cast<int32_t>(i % 9), 0);
  history.Record();
}

void BM_RecordDragStep(benchmark::State& state) {
  auto model = std::make_unique<TMorvObject>(FullCapacityModel());
  TModelHistory history(*model);
  int64_t i = 0;
  // The history runs full, as after a long session, so each step also lets the oldest go.
  for (; i < TModelHistory::StepLimit; ++i) DragStep(history, *model, i);
  for (auto _ : state) DragStep(history, *model, i++);
  state.counters["steps"] = history.Steps();
}
BENCHMARK(BM_RecordDragStep)->Unit(benchmark::kMicrosecond);

void BM_UndoDragStep(benchmark::State& state) {
  auto model = std::make_unique<TMorvObject>(FullCapacityModel());
  TModelHistory history(*model);
  for (int64_t i = 0; i < TModelHistory::StepLimit; ++i) DragStep(history, *model, i);
  for (auto _ : state) {
    history.Undo();
    state.PauseTiming();
    history.Redo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_UndoDragStep)->Unit(benchmark::kMicrosecond);

// What the heap grows by for a thousand steps of a full model: drags of joints that carry 100
// vertices and recolourings of all 1000 patches in turn, the model and its two copies aside.
void BM_HeapOfAThousandSteps(benchmark::State& state) {
  for (auto _ : state) {
    auto model = std::make_unique<TMorvObject>(FullCapacityModel());
    TModelHistory history(*model);
    const std::size_t before = mallinfo2().uordblks;
    for (int64_t i = 0; i < TModelHistory::StepLimit; ++i) {
      if (i % 2 == 0) {
        DragStep(history, *model, i);
        continue;
      }
      history.Command(QStringLiteral("Edit Colours"));
      for (int32_t p = 1; p <= MaxPatches; ++p) {
        model->Patches[p].Colour = static_cast<int32_t>((p * i) & 0xFFFFFF);
      }
      history.Record();
    }
    state.counters["heap_MiB"] =
        static_cast<double>(mallinfo2().uordblks - before) / (1024.0 * 1024.0);
    state.counters["counted_MiB"] = static_cast<double>(history.Bytes()) / (1024.0 * 1024.0);
  }
}
BENCHMARK(BM_HeapOfAThousandSteps)->Unit(benchmark::kMillisecond)->Iterations(1);

// A full model unlike FullCapacityModel() in every slot: a Load of one over the other changes all.
TMorvObject OtherFullModel() {
  TMorvObject m = FullCapacityModel();
  m.Name = "Other";
  for (int32_t i = 1; i <= MaxControls; ++i) m.Controls[i].X += 1;
  for (int32_t i = 1; i <= MaxPatches; ++i) m.Patches[i].Colour ^= 0x010101;
  for (int32_t i = 1; i <= MaxJoints; ++i) {
    m.Joints[i].Position.Y += 1;
    m.Joints[i].ControlRefs[1] = m.Joints[i].ControlRefs[1] % MaxControls + 1;
  }
  return m;
}

// What the history holds after a thousand Loads of two full models in turn, each Load a step
// that replaces every slot of the model: the steps kept, the memory they count, and what the heap
// grew by, the model and the history's own records of it aside.
void BM_AThousandAlternatingLoads(benchmark::State& state) {
  const auto first = std::make_unique<TMorvObject>(FullCapacityModel());
  const auto second = std::make_unique<TMorvObject>(OtherFullModel());
  for (auto _ : state) {
    auto model = std::make_unique<TMorvObject>(*first);
    TModelHistory history(*model);
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 1000; ++i) {
      history.Command(QStringLiteral("Load"));
      *model = i % 2 == 0 ? *second : *first;
      history.MarkSaved();
    }
    state.counters["steps"] = history.Steps();
    state.counters["counted_MiB"] = static_cast<double>(history.Bytes()) / (1024.0 * 1024.0);
    state.counters["heap_MiB"] =
        static_cast<double>(mallinfo2().uordblks - before) / (1024.0 * 1024.0);
  }
}
BENCHMARK(BM_AThousandAlternatingLoads)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace morv::bench
