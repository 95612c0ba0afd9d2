// The scene file a render request carries: picture size, background, scale, light and angles.
#pragma once

#include <cstdint>

#include "engine/line_text.h"
#include "engine/vector_types.h"

namespace morv {

constexpr int32_t SceneLineCount = 10;

// What the 3D view renders with, apart from the model. Colours have red in the lowest byte.
struct TSceneSettings {
  int32_t Width = 360;
  int32_t Height = 360;
  int32_t Background = 32768;
  int32_t Scale = 200;
  TPoint3D Light{200, 0, -70};
  int32_t AngleX = 0;
  int32_t AngleY = 0;
  int32_t AngleZ = 0;
  friend bool operator==(const TSceneSettings&, const TSceneSettings&) = default;
};

// The ten lines, one decimal integer each, in the order width, height, background, scale, light
// X, Y, Z, angles X, Y, Z.
TextLines SceneLines(const TSceneSettings& scene);

// Reads the ten lines back. A missing line, or one that is not an integer, throws
// ConversionError naming the line; lines after the tenth are ignored.
TSceneSettings ParseScene(const TextLines& lines);

}  // namespace morv
