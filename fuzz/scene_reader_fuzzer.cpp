// Fuzzes the scene file reader: a scene that reads writes out as lines that read back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/errors.h"
#include "engine/line_text.h"
#include "engine/scene_file.h"
#include "property.h"

using namespace morv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const TextLines lines = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  TSceneSettings scene;
  try {
    scene = ParseScene(lines);
  } catch (const ConversionError&) {
    return 0;
  }
  const TextLines written = SceneLines(scene);
  Require(written.size() == static_cast<std::size_t>(SceneLineCount),
          "a scene is written as ten lines");
  Require(ParseScene(written) == scene, "a written scene reads back as the same scene");
  return 0;
}
