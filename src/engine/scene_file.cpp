// The scene file a render request carries: picture size, background, scale, light and angles.
#include "engine/scene_file.h"

#include "engine/errors.h"
#include "engine/integer_text.h"
#include "engine/line_reader.h"

namespace morv {

TextLines SceneLines(const TSceneSettings& scene) {
  const int32_t values[SceneLineCount] = {
      scene.Width,   scene.Height,  scene.Background, scene.Scale,  scene.Light.X,
      scene.Light.Y, scene.Light.Z, scene.AngleX,     scene.AngleY, scene.AngleZ};
  TextLines lines;
  lines.reserve(SceneLineCount);
  for (const int32_t value : values) lines.push_back(IntToStr(value));
  return lines;
}

TSceneSettings ParseScene(const TextLines& lines) {
  if (lines.size() < static_cast<std::size_t>(SceneLineCount)) {
    throw ConversionError("Line " + std::to_string(lines.size() + 1) +
                          ": a scene file has ten lines, this one " + std::to_string(lines.size()));
  }
  const LineReader reader(lines);
  TSceneSettings scene;
  scene.Width = reader.Integer(0);
  scene.Height = reader.Integer(1);
  scene.Background = reader.Integer(2);
  scene.Scale = reader.Integer(3);
  scene.Light = {reader.Integer(4), reader.Integer(5), reader.Integer(6)};
  scene.AngleX = reader.Integer(7);
  scene.AngleY = reader.Integer(8);
  scene.AngleZ = reader.Integer(9);
  return scene;
}

}  // namespace morv
