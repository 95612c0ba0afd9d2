// Pictures of any size and samples against the 3D view's own drawing.
#include "engine/picture_renderer.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "engine/angle_tables.h"
#include "engine/render_canvas.h"
#include "tests/support/sample_models.h"

namespace morv {
namespace {

using bench::FlatSheetModel;
using bench::TorusModel;

struct Picture {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int32_t x, int32_t y) const {
    return pixels[static_cast<std::size_t>(y) * width + x];
  }
};

Picture Render(const TMorvObject& model, TPictureView view, int threads = 2) {
  Picture picture{view.Width, view.Height,
                  std::vector<uint32_t>(static_cast<std::size_t>(view.Width) * view.Height)};
  TPixelBuffer out{picture.pixels.data(), view.Width, view.Height, view.Width};
  auto state = std::make_unique<TRenderState>();
  RenderPictureInto(*state, model, view, out, threads);
  return picture;
}

// The 3D view's drawing of the model on a state of its own.
Picture ViewDrawing(const TMorvObject& model, const std::array<int32_t, 3>& angles) {
  MakeAngleTables();
  auto state = std::make_unique<TRenderState>();
  TMemoryCanvas canvas(360, 360);
  state->TargetCanvas = &canvas;
  state->SceneObject = model;
  RenderModel(*state, angles[0], angles[1], angles[2]);
  Picture picture{360, 360, {}};
  for (int32_t y = 0; y < 360; ++y) {
    for (int32_t x = 0; x < 360; ++x) picture.pixels.push_back(canvas.Pixel(x, y));
  }
  return picture;
}

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

struct Case {
  const char* name;
  TMorvObject model;
  std::array<int32_t, 3> angles;
  bool slanted;
};

std::vector<Case> Cases() {
  return {{"torus", TorusModel(20, 12), {30, 45, 0}, true},
          {"torus turned", TorusModel(40, 25, 100, 45), {300, 10, 200}, true},
          {"flat sheet", FlatSheetModel(100), {0, 0, 0}, false}};
}

TEST(PictureRenderer, AtTheViewsSizeAndWiderItIsTheViewsDrawing) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    const Picture view = ViewDrawing(c.model, c.angles);
    TPictureView asked;
    asked.Angles = c.angles;
    EXPECT_EQ(Render(c.model, asked).pixels, view.pixels);

    // Wider or taller, the middle is the view's drawing and the rest shows more around it.
    for (const auto& [width, height] : {std::pair{640, 360}, std::pair{360, 500}}) {
      asked.Width = width;
      asked.Height = height;
      const Picture wide = Render(c.model, asked);
      const int32_t dx = (width - 360) / 2, dy = (height - 360) / 2;
      int mismatches = 0;
      for (int32_t y = 0; y < 360; ++y) {
        for (int32_t x = 0; x < 360; ++x) mismatches += wide.At(x + dx, y + dy) != view.At(x, y);
      }
      EXPECT_EQ(mismatches, 0) << width << " x " << height;
    }
  }
}

TEST(PictureRenderer, SamplesBlendTheEdgesAndStayCloseToTheOneSampleTwin) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    TPictureView asked;
    asked.Angles = c.angles;
    const Picture one = Render(c.model, asked);
    for (const int32_t samples : {2, 4, 8}) {
      asked.Samples = samples;
      const Picture many = Render(c.model, asked);
      int64_t difference = 0;
      int blended = 0;
      for (std::size_t k = 0; k < many.pixels.size(); ++k) {
        for (const int shift : {0, 8, 16}) {
          difference += std::abs(Channel(many.pixels[k], shift) - Channel(one.pixels[k], shift));
        }
        blended += many.pixels[k] != one.pixels[k];
      }
      // Slanted edges blend; a sheet seen face-on has its edges on whole pixels at every
      // sample count and stays sharp. The picture as a whole stays its twin's.
      if (c.slanted) {
        EXPECT_GT(blended, 0) << samples;
      } else {
        EXPECT_EQ(blended, 0) << samples;
      }
      EXPECT_LT(static_cast<double>(difference) / static_cast<double>(3 * many.pixels.size()), 6.0)
          << samples;
    }
  }
}

TEST(PictureRenderer, BandsAndThreadsDoNotShowInThePicture) {
  // Wide enough for many bands of rows, whose boundaries move with the number of threads.
  const TMorvObject torus = TorusModel(40, 25, 100, 45);
  TPictureView asked;
  asked.Width = 1200;
  asked.Height = 700;
  asked.Samples = 8;
  asked.Angles = {20, 30, 0};
  const Picture two = Render(torus, asked, 2);
  EXPECT_EQ(Render(torus, asked, 1).pixels, two.pixels);
  EXPECT_EQ(Render(torus, asked, 3).pixels, two.pixels);
}

TEST(PictureRenderer, TheSmallestPicturesAreItsMiddleAndBackground) {
  const TMorvObject torus = TorusModel(20, 12);
  TPictureView asked;
  asked.Background = 0x0000FF;  // red
  for (const auto& [width, height] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{2, 9}}) {
    asked.Width = width;
    asked.Height = height;
    const Picture picture = Render(torus, asked);
    ASSERT_EQ(picture.pixels.size(), static_cast<std::size_t>(width * height));
    // Every pixel is either the background or the torus's shading: none is left unwritten.
    for (const uint32_t pixel : picture.pixels) EXPECT_EQ(pixel >> 24, 0xFFu);
  }
}

TEST(PictureRenderer, TheSamplesOfAWidePictureTakeTheirBandsOfMemoryOnly) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizers keep their own heap, which mallinfo2 does not see";
#else
  // 8192 x 64 pixels of 8 x 8 samples: drawn at once the samples would take 128 MiB.
  const TMorvObject torus = TorusModel(20, 12);
  TPictureView asked;
  asked.Width = 8192;
  asked.Height = 64;
  asked.Samples = 8;
  Picture picture{asked.Width, asked.Height,
                  std::vector<uint32_t>(static_cast<std::size_t>(asked.Width) * asked.Height)};
  TPixelBuffer out{picture.pixels.data(), asked.Width, asked.Height, asked.Width};
  auto state = std::make_unique<TRenderState>();
  const auto inUse = [] {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<int64_t>(info.uordblks + info.hblkhd);
  };
  const int64_t before = inUse();
  std::atomic<bool> done{false};
  std::atomic<int64_t> peak{0};
  // The bands are held for the whole render, so a watcher polling the heap cannot miss them.
  std::thread watcher([&] {
    while (!done.load()) {
      peak.store(std::max(peak.load(), inUse() - before));
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  });
  RenderPictureInto(*state, torus, asked, out, 2);
  done.store(true);
  watcher.join();
  EXPECT_GT(peak.load(), int64_t{1} << 20);
  EXPECT_LE(peak.load(), int64_t{64} << 20);
#endif
}

}  // namespace
}  // namespace morv
