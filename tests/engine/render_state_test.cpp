// Render states of their own: two models rendered on two threads at once give the pictures each
// gives alone, and simulations with G given run side by side.
#include "engine/render_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "engine/mechanics.h"
#include "engine/render_driver.h"
#include "engine/renderer.h"
#include "tests/support/sample_models.h"

namespace morv {
namespace {

using Picture = std::vector<uint32_t>;

Picture PictureOf(const TMemoryCanvas& canvas) {
  Picture pixels;
  pixels.reserve(360 * 360);
  for (int32_t y = 0; y < 360; ++y) {
    for (int32_t x = 0; x < 360; ++x) pixels.push_back(canvas.Pixel(x, y));
  }
  return pixels;
}

struct TAngles {
  int32_t X, Y, Z;
};
const TAngles Turns[] = {{0, 0, 0}, {20, 30, 40}, {90, 180, 270}, {350, 7, 123}};

// One model under its own view, light and background; `threaded` renders with a worker as well.
struct TJob {
  TMorvObject Model;
  TViewParameters View;
  bool Threaded = false;
  std::vector<Picture> Alone;  // one per turn, rendered on the main state with nothing beside it
  std::vector<std::pair<int32_t, int32_t>> Counts;
};

TEST(RenderState, TwoModelsRenderedAtOnceOnTwoThreadsGiveThePicturesTheyGiveAlone) {
  // Models and states are megabytes: they live on the heap.
  std::vector<TJob> jobs(2);
  jobs[0].Model = bench::TorusModel(10, 10, 100, 45);
  jobs[1].Model = bench::TorusModel(16, 9, 70, 30);
  jobs[1].View.ViewScale = 150;
  jobs[1].View.LightVector = {-120, 60, -90};
  jobs[1].View.BackgroundColour = 0x204060;
  jobs[1].Threaded = true;

  const auto savedMain = std::make_unique<TRenderState>(MainRenderState);
  for (TJob& job : jobs) {
    TMemoryCanvas canvas(360, 360);
    MainRenderState.View = job.View;
    TargetCanvas = &canvas;
    SceneObject = job.Model;
    for (const TAngles& a : Turns) {
      RenderModel(a.X, a.Y, a.Z);
      job.Alone.push_back(PictureOf(canvas));
      job.Counts.emplace_back(PointCount, PolygonCount);
    }
    TargetCanvas = nullptr;
  }
  ASSERT_FALSE(jobs[0].Alone[1] == jobs[1].Alone[1]);
  ASSERT_FALSE(jobs[0].Alone[1] == jobs[0].Alone[2]);

  // The main state is marked so that a render that strayed into it would show.
  MainRenderState.View = TViewParameters{};
  SceneObject = TMorvObject{};
  SceneObject.Name = "The view's own";
  PointCount = -1;
  VisibleCount = -1;

  constexpr int Rounds = 40;
  int wrong[2] = {0, 0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&, t] {
      const TJob& job = jobs[t];
      auto state = std::make_unique<TRenderState>();
      state->View = job.View;
      TMemoryCanvas canvas(360, 360);
      state->TargetCanvas = &canvas;
      TRenderDriver driver(*state);
      for (int round = 0; round < Rounds; ++round) {
        for (std::size_t k = 0; k < std::size(Turns); ++k) {
          const TAngles& a = Turns[k];
          driver.Render(job.Model, a.X, a.Y, a.Z, job.Threaded);
          driver.Finish();
          const bool same = PictureOf(canvas) == job.Alone[k] &&
                            state->PointCount == job.Counts[k].first &&
                            state->PolygonCount == job.Counts[k].second;
          if (!same) ++wrong[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(wrong[0], 0) << "renders of the first model that differ from it rendered alone";
  EXPECT_EQ(wrong[1], 0) << "renders of the second model that differ from it rendered alone";
  EXPECT_EQ(SceneObject.Name, "The view's own");
  EXPECT_EQ(SceneObject.PatchCount, 0);
  EXPECT_EQ(PointCount, -1);
  EXPECT_EQ(VisibleCount, -1);
  EXPECT_EQ(ViewScale, 200);
  EXPECT_EQ(BackgroundColour, 32768);
  EXPECT_EQ(TargetCanvas, nullptr);
  MainRenderState = *savedMain;
}

// Joints of several masses scattered close enough to pull each other visibly.
TMorvObject Cluster(uint32_t seed) {
  TMorvObject model;
  uint32_t r = seed;
  const auto next = [&r](int32_t span) {
    r = r * 1664525u + 1013904223u;
    return static_cast<int32_t>((r >> 8) % static_cast<uint32_t>(span)) - span / 2;
  };
  for (int32_t j = 1; j <= 40; ++j) {
    model.Controls[++model.ControlCount] = {next(2000), next(2000), next(2000)};
    TJoint& joint = model.Joints[++model.JointCount];
    joint.Position = model.Controls[model.ControlCount];
    joint.RefCount = 1;
    joint.ControlRefs[1] = model.ControlCount;
    joint.Mass = 1 + (next(1000) + 500);
  }
  return model;
}

TEST(RenderState, SimulationsWithTheirOwnGRunOnTwoThreadsAsTheyRunAlone) {
  const double gs[2] = {GravitationalConstantFrom(5, 3), GravitationalConstantFrom(3, 4)};
  const std::vector<TMorvObject> start{Cluster(1), Cluster(2)};
  constexpr int Ticks = 150;

  std::vector<TMorvObject> alone = start;
  for (int t = 0; t < 2; ++t) {
    for (int tick = 0; tick < Ticks; ++tick) PhysicsStep(alone[t], gs[t]);
  }
  auto otherG = std::make_unique<TMorvObject>(start[0]);
  for (int tick = 0; tick < Ticks; ++tick) PhysicsStep(*otherG, gs[1]);
  ASSERT_FALSE(alone[0] == start[0]) << "the joints move";
  ASSERT_FALSE(alone[0] == *otherG) << "G shows in the result";

  // The shared constant is neither of the two, so a step that read it would go astray.
  const double saved = GravitationalConstant;
  GravitationalConstant = 0;
  std::vector<TMorvObject> together = start;
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&, t] {
      for (int tick = 0; tick < Ticks; ++tick) PhysicsStep(together[t], gs[t]);
    });
  }
  for (std::thread& thread : threads) thread.join();
  GravitationalConstant = saved;

  EXPECT_TRUE(together[0] == alone[0]);
  EXPECT_TRUE(together[1] == alone[1]);
}

}  // namespace
}  // namespace morv
