// The 3D view's drawing at any size with N x N samples a pixel, rendered in bands of rows.
#include "engine/picture_renderer.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "engine/rounding.h"
#include "engine/vector_maths.h"

namespace morv {

namespace {

// A polygon ready to fill: its corners in sample coordinates, its shaded pixel and the rows it
// spans.
struct TFillPolygon {
  TScreenPoint Corners[4];
  uint32_t Pixel;
  int32_t Top;
  int32_t Bottom;
};

// The 3D view's projection with a centre and scale of any size; for the view's own (180, 180) and
// 200 every step gives the same numbers as ProjectPoint.
bool ProjectSample(double centreX, double centreY, double scale, int32_t distance,
                   const TPoint3D& p, TScreenPoint& s) {
  const int64_t w = int64_t{p.Z} + distance;
  if (w == 0) return false;
  const double x = static_cast<double>(p.X) * scale / static_cast<double>(w);
  const double y = static_cast<double>(p.Y) * scale / static_cast<double>(w);
  s.X = RoundToInt(static_cast<double>(RoundToInt(x)) + centreX);
  s.Y = RoundToInt(centreY - static_cast<double>(RoundToInt(y)));
  return true;
}

// Fills rows [top, top + rows) of the sample picture into `band` and averages them into the
// output rows they cover.
void RenderBand(const std::vector<TFillPolygon>& polygons, uint32_t background, int32_t samples,
                int32_t top, int32_t rows, std::vector<uint32_t>& band, TPixelBuffer& out) {
  const int32_t width = out.width * samples;
  TPixelBuffer image{band.data(), width, rows, width};
  FillRectangle(image, 0, 0, width, rows, background);
  for (const TFillPolygon& polygon : polygons) {
    if (polygon.Bottom <= top || polygon.Top >= top + rows) continue;
    TScreenPoint corners[4];
    for (int c = 0; c < 4; ++c) corners[c] = {polygon.Corners[c].X, polygon.Corners[c].Y - top};
    FillPolygon(image, corners, 4, polygon.Pixel);
  }
  const uint32_t count = static_cast<uint32_t>(samples * samples);
  for (int32_t r = 0; r < rows / samples; ++r) {
    uint32_t* row = out.bits + (top / samples + r) * out.stride;
    for (int32_t x = 0; x < out.width; ++x) {
      uint32_t red = 0, green = 0, blue = 0;
      for (int32_t j = 0; j < samples; ++j) {
        const uint32_t* sample = band.data() + (r * samples + j) * width + x * samples;
        for (int32_t i = 0; i < samples; ++i) {
          red += (sample[i] >> 16) & 0xFF;
          green += (sample[i] >> 8) & 0xFF;
          blue += sample[i] & 0xFF;
        }
      }
      row[x] = 0xFF000000u | (red + count / 2) / count << 16 | (green + count / 2) / count << 8 |
               (blue + count / 2) / count;
    }
  }
}

}  // namespace

TPictureReport RenderPictureInto(TRenderState& state, const TMorvObject& model,
                                 const TPictureView& view, TPixelBuffer& out, int threads) {
  TPictureReport report;
  state.SceneObject = model;
  TessellateScene(state, view.Angles[0], view.Angles[1], view.Angles[2]);
  report.Points = state.PointCount;
  report.Polygons = state.PolygonCount;
  const std::optional<TVector3D> light = SceneLight(view.Light, report.Render);

  const int32_t n = view.Samples;
  const double scale = 200.0 * std::min(view.Width, view.Height) * n / 360.0;
  const double centreX = view.Width * n / 2.0;
  const double centreY = view.Height * n / 2.0;
  for (int32_t i = 1; i <= state.PointCount; ++i) {
    if (!ProjectSample(centreX, centreY, scale, state.View.ViewDistance, state.RenderPoints[i],
                       state.ScreenPoints[i])) {
      report.ProjectionFailed = true;
    }
  }

  std::vector<TFillPolygon> polygons;
  if (state.PolygonCount > 0) {
    if (!SortVisiblePolygons(state)) {
      report.Render.SortCrashed = true;
    } else {
      polygons.reserve(static_cast<std::size_t>(state.VisibleCount));
      TVector3D normal = state.NormalVector;
      for (int32_t i = 1; i <= state.VisibleCount; ++i) {
        const TRenderPolygon& polygon = state.VisiblePolygons[i];
        TFillPolygon fill{};
        fill.Pixel = ShadedPixel(state, polygon, *light, normal);
        fill.Top = INT32_MAX;
        fill.Bottom = INT32_MIN;
        for (int c = 0; c < 4; ++c) {
          fill.Corners[c] = state.ScreenPoints[polygon.Corner[c + 1]];
          fill.Top = std::min(fill.Top, fill.Corners[c].Y);
          fill.Bottom = std::max(fill.Bottom, fill.Corners[c].Y);
        }
        polygons.push_back(fill);
      }
      state.NormalVector = normal;
    }
  }

  // Bands of whole output rows, as many sample rows as the memory allows each thread.
  const int32_t workers = std::max(1, threads);
  const int64_t rowBytes = int64_t{view.Width} * n * n * 4;
  const auto outputRows = static_cast<int32_t>(
      std::clamp<int64_t>(PictureBandBytes / workers / rowBytes, 1, view.Height));
  const int32_t bandCount = (view.Height + outputRows - 1) / outputRows;
  const uint32_t background = ColourToPixel(view.Background & 0xFFFFFF);
  const auto work = [&](int32_t first) {
    std::vector<uint32_t> band(static_cast<std::size_t>(int64_t{view.Width} * n * outputRows * n));
    for (int32_t b = first; b < bandCount; b += workers) {
      const int32_t rows = std::min(outputRows, view.Height - b * outputRows);
      RenderBand(polygons, background, n, b * outputRows * n, rows * n, band, out);
    }
  };
  std::vector<std::thread> helpers;
  for (int32_t t = 1; t < std::min(workers, bandCount); ++t) helpers.emplace_back(work, t);
  work(0);
  for (std::thread& helper : helpers) helper.join();
  return report;
}

}  // namespace morv
