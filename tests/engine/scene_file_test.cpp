// Scene files: the lines a request carries and reading them back.
#include <gtest/gtest.h>

#include "engine/errors.h"
#include "engine/scene_file.h"

namespace morv::test {
namespace {

TEST(SceneFileTest, StartingSettingsGiveTheTenLinesAndReadBack) {
  const TSceneSettings start;
  const TextLines lines = SceneLines(start);
  EXPECT_EQ(lines, (TextLines{"360", "360", "32768", "200", "200", "0", "-70", "0", "0", "0"}));
  EXPECT_EQ(ParseScene(lines), start);

  TSceneSettings turned;
  turned.Background = 0xFF00FF;
  turned.Light = {-180, 180, -70};
  turned.AngleX = 45;
  turned.AngleY = 360;
  turned.AngleZ = 7;
  EXPECT_EQ(ParseScene(SceneLines(turned)), turned);
}

TEST(SceneFileTest, ShortOrNonNumericFilesNameTheLine) {
  TextLines lines = SceneLines(TSceneSettings{});
  lines.resize(9);
  try {
    ParseScene(lines);
    FAIL() << "a nine-line scene was read";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "Line 10: a scene file has ten lines, this one 9");
  }
  lines = SceneLines(TSceneSettings{});
  lines[4] = "east";
  try {
    ParseScene(lines);
    FAIL() << "a word was read as the light";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "Line 5: 'east' is not a valid integer value");
  }
}

}  // namespace
}  // namespace morv::test
