// The render driver: the same picture with or without a worker, and settings that change only
// once a worker is done with them.
#include "engine/render_driver.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/angle_tables.h"
#include "engine/view_parameters.h"

namespace morv {
namespace {

class RenderDriver : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeAngleTables();
    SetStartViewParameters();
    TargetCanvas = &canvas_;
    // Two patches, one curved, so the light and the depth order both show in the picture.
    const TControlVertex points[] = {{0, 0, 0},      {0, 90, 30},    {90, 90, -20},  {90, 0, 0},
                                     {0, -50, 10},   {30, -50, 10},  {60, -50, 10},  {90, -50, 10},
                                     {-80, 60, -10}, {-50, 60, -10}, {-20, 60, -10}, {10, 60, -10},
                                     {-80, 0, 30},   {-50, 0, 30},   {-20, 0, 30},   {10, 0, 30}};
    for (const TControlVertex& p : points) model_.Controls[++model_.ControlCount] = p;
    for (int32_t patch = 0; patch < 2; ++patch) {
      TBezierPatch& p = model_.Patches[++model_.PatchCount];
      for (int32_t k = 1; k <= 8; ++k) p.ControlIndex[k] = patch * 8 + k;
      p.Colour = patch == 0 ? 0x00A0F0 : 0x30C020;
    }
  }

  void TearDown() override {
    TargetCanvas = nullptr;
    SetStartViewParameters();
  }

  std::vector<uint32_t> Picture() const {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < 360; ++y) {
      for (int32_t x = 0; x < 360; ++x) pixels.push_back(canvas_.Pixel(x, y));
    }
    return pixels;
  }

  std::vector<uint32_t> RenderedAlone(int32_t x, int32_t y, int32_t z) {
    TRenderDriver driver;
    driver.Render(model_, x, y, z, false);
    return Picture();
  }

  TMorvObject model_;
  TMemoryCanvas canvas_{360, 360};
};

TEST_F(RenderDriver, AWorkerGivesThePictureOfTheCallingThread) {
  const std::vector<uint32_t> alone = RenderedAlone(20, 30, 40);
  TRenderDriver driver;
  driver.Render(model_, 20, 30, 40, true);
  driver.Finish();
  EXPECT_TRUE(Picture() == alone);
  EXPECT_TRUE(SceneObject == model_);
}

TEST_F(RenderDriver, LightAndBackgroundChangeWhileAWorkerMayStillBeDrawing) {
  LightVector = {-100, 50, -70};
  BackgroundColour = 0x402010;
  const std::vector<uint32_t> expected = RenderedAlone(10, 350, 0);
  SetStartViewParameters();
  const std::vector<uint32_t> before = RenderedAlone(10, 350, 0);
  ASSERT_FALSE(before == expected);

  TRenderDriver driver;
  // Clicks on the view and new backgrounds, each right after a threaded render. Which of the two
  // renders takes the canvas first varies, so the worker is often still drawing at the change.
  for (int round = 0; round < 20; ++round) {
    driver.Render(model_, 10, 350, 0, true);
    driver.SetLightVector({-100 + round % 2, 50, -70});
    driver.Render(model_, 10, 350, 0, true);
    driver.SetBackgroundColour(0x402010 + round % 2);
  }
  driver.SetLightVector({-100, 50, -70});
  driver.SetBackgroundColour(0x402010);
  driver.Render(model_, 10, 350, 0, true);
  driver.Finish();
  EXPECT_TRUE(Picture() == expected);
  EXPECT_EQ(LightVector, (TPoint3D{-100, 50, -70}));
  EXPECT_EQ(BackgroundColour, 0x402010);
}

}  // namespace
}  // namespace morv
