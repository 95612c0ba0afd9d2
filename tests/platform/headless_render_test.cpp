// The headless render from several threads at once: each picture is the one it gives alone, and
// the 3D view's own render state is left as it was.
#include "platform/headless_render.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/renderer.h"
#include "engine/view_parameters.h"
#include "support/sample_models.h"

namespace morv {
namespace {

struct TSceneJob {
  TSceneSettings Scene;
  bool Threads = false;
  TRenderedScene Alone;
};

TEST(HeadlessRender, TwoThreadsRenderingAtOnceGetThePicturesEachGetsAlone) {
  const auto models = std::make_unique<std::vector<TMorvObject>>(std::vector<TMorvObject>{
      bench::TorusModel(10, 10, 100, 45), bench::TorusModel(16, 9, 70, 30)});
  std::vector<TSceneJob> jobs(2);
  jobs[0].Scene.AngleX = 20;
  jobs[0].Scene.AngleY = 30;
  jobs[0].Scene.AngleZ = 40;
  jobs[1].Scene.AngleX = 350;
  jobs[1].Scene.AngleY = 7;
  jobs[1].Scene.AngleZ = 123;
  jobs[1].Scene.Scale = 150;
  jobs[1].Scene.Light = {-120, 60, -90};
  jobs[1].Scene.Background = 0x204060;
  jobs[1].Threads = true;
  for (int t = 0; t < 2; ++t) jobs[t].Alone = RenderScene(jobs[t].Scene, (*models)[t]);
  ASSERT_FALSE(jobs[0].Alone.Image == jobs[1].Alone.Image);
  ASSERT_GT(jobs[1].Alone.Points, jobs[0].Alone.Points);

  // The 3D view's state, marked so that a render that strayed into it would show.
  SceneObject = TMorvObject{};
  SceneObject.Name = "The view's own";
  PointCount = -1;
  PolygonCount = -1;
  ViewScale = 77;
  LightVector = {1, 2, 3};

  constexpr int Rounds = 10;
  int wrong[2] = {0, 0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&, t] {
      const TSceneJob& job = jobs[t];
      for (int round = 0; round < Rounds; ++round) {
        const TRenderedScene r = RenderScene(job.Scene, (*models)[t], job.Threads);
        if (r.Image != job.Alone.Image || r.Points != job.Alone.Points ||
            r.Polygons != job.Alone.Polygons) {
          ++wrong[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  EXPECT_EQ(wrong[0], 0) << "pictures of the first scene that differ from it rendered alone";
  EXPECT_EQ(wrong[1], 0) << "pictures of the second scene that differ from it rendered alone";
  EXPECT_EQ(SceneObject.Name, "The view's own");
  EXPECT_EQ(PointCount, -1);
  EXPECT_EQ(PolygonCount, -1);
  EXPECT_EQ(ViewScale, 77);
  EXPECT_EQ(LightVector, (TPoint3D{1, 2, 3}));
  SetStartViewParameters();
  SceneObject = TMorvObject{};
  PointCount = 0;
  PolygonCount = 0;
}

}  // namespace
}  // namespace morv
