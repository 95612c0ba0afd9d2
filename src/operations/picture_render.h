// Pictures of a model of any size, supersampled: the 3D view's drawing at W x H with N x N samples
// a pixel.
#pragma once

#include <QImage>
#include <array>
#include <cstdint>

#include "engine/model.h"
#include "engine/vector_types.h"

namespace morv {

inline constexpr int32_t MaxPictureSide = 8192;
inline constexpr int32_t MaxPictureSamples = 8;

// What a picture is asked for: its size (1..8192 each), samples a side (1..8), and the view's
// angles (0..360), light and background as the 3D view takes them.
struct TPictureRequest {
  int32_t Width = 360;
  int32_t Height = 360;
  int32_t Samples = 1;
  std::array<int32_t, 3> Angles{0, 0, 0};
  TPoint3D Light{200, 0, -70};
  int32_t Background = 32768;
};

// RequestError for a size, samples, angle or background outside its range.
void CheckPictureRequest(const TPictureRequest& request);

// The picture (Format_RGB32): centred on (W / 2, H / 2) at the view scale 200 x min(W, H) / 360,
// so the model keeps its place and size relative to the shorter side; each pixel the mean of its
// N x N samples. At 360 x 360 and one sample it is the 3D view's picture. CommandError when the
// depth sort crashed.
QImage RenderPicture(const TMorvObject& model, const TPictureRequest& request);

}  // namespace morv
