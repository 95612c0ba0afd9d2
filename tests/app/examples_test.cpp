// The example models and animation set shipped in examples/: they load, draw, save back and walk.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <cstdlib>
#include <ostream>
#include <set>

#include "engine/animation.h"
#include "engine/animation_file.h"
#include "engine/animation_playback.h"
#include "engine/line_text.h"
#include "engine/model.h"
#include "engine/model_file.h"
#include "engine/patch_tessellation.h"
#include "engine/scene_file.h"
#include "platform/headless_render.h"
#include "platform/text_file.h"
#include "support/test_files.h"

namespace morv {
namespace {

QString ExamplePath(const char* name) {
  return QDir(QStringLiteral(MORV_EXAMPLES_DIR)).filePath(QString::fromLatin1(name));
}

TMorvObject LoadExample(const char* name) {
  TMorvObject model;
  LoadModel(ReadTextLines(ExamplePath(name)), model);
  return model;
}

// Share of the picture's pixels that are not the background colour.
double DrawnShare(const QImage& image, int32_t background) {
  const QRgb back = qRgb(background & 0xFF, (background >> 8) & 0xFF, (background >> 16) & 0xFF);
  int64_t drawn = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) != (back & 0xFFFFFF)) ++drawn;
    }
  }
  return static_cast<double>(drawn) / (image.width() * image.height());
}

bool InDragSpace(const TControlVertex& v) {
  return std::abs(v.X) <= 100 && std::abs(v.Y) <= 100 && std::abs(v.Z) <= 100;
}

struct ExampleModel {
  const char* file;
  const char* name;
  int32_t controls;
  int32_t patches;
  int32_t joints;
};

const ExampleModel Examples[] = {
    {"ring.MVD", "Ring", 288, 96, 0},
    {"creature.MVD", "Creature", 445, 160, 4},
    {"patch-sheet.MVD", "Patch sheet", 189, 72, 9},
};

void PrintTo(const ExampleModel& e, std::ostream* out) { *out << e.file; }

class ExampleModels : public ::testing::TestWithParam<ExampleModel> {};

TEST_P(ExampleModels, LoadWithEveryReferenceInsideTheModelAndEveryPointInTheDragSpace) {
  const ExampleModel& e = GetParam();
  const TMorvObject m = LoadExample(e.file);
  EXPECT_EQ(m.Name, e.name);
  EXPECT_EQ(m.Owner, "Morv! 5 examples ");
  EXPECT_TRUE(m.Password.empty());
  EXPECT_FALSE(m.Locked);
  EXPECT_EQ(m.ControlCount, e.controls);
  EXPECT_EQ(m.PatchCount, e.patches);
  EXPECT_EQ(m.JointCount, e.joints);
  for (int32_t i = 1; i <= m.ControlCount; ++i) EXPECT_TRUE(InDragSpace(m.Controls[i])) << i;
  for (int32_t i = 1; i <= m.PatchCount; ++i) {
    EXPECT_TRUE(PatchIsDrawable(m.Patches[i], m.ControlCount)) << "patch " << i;
  }
  for (int32_t j = 1; j <= m.JointCount; ++j) {
    const TJoint& joint = m.Joints[j];
    EXPECT_TRUE(InDragSpace(joint.Position)) << "joint " << j;
    EXPECT_GE(joint.Mass, 1);
    EXPECT_GE(joint.RefCount, 1);
    for (int32_t k = 1; k <= joint.RefCount; ++k) {
      EXPECT_GE(joint.ControlRefs[k], 1);
      EXPECT_LE(joint.ControlRefs[k], m.ControlCount);
    }
  }
}

TEST_P(ExampleModels, SaveBackLineForLineWithTheOwnersTrailingSpaceAddedOnce) {
  const ExampleModel& e = GetParam();
  const std::string bytes = test::ReadBytes(ExamplePath(e.file));
  ASSERT_FALSE(bytes.empty());
  TMorvObject m;
  LoadModel(SplitLines(bytes), m);
  TextLines saved;
  SaveModel(m, saved);
  // A model file writes one space after the owner and reads it back with the owner.
  TextLines expected = SplitLines(bytes);
  ASSERT_GT(expected.size(), 3u);
  expected[3] += ' ';
  EXPECT_EQ(JoinLines(saved), JoinLines(expected));
}

TEST_P(ExampleModels, DrawAClearShareOfTheViewFromTheStartAnglesAndTurned) {
  const ExampleModel& e = GetParam();
  const TMorvObject m = LoadExample(e.file);
  for (const TPoint3D angles : {TPoint3D{0, 0, 0}, TPoint3D{60, 30, 0}, TPoint3D{30, 200, 0}}) {
    TSceneSettings scene;
    scene.AngleX = angles.X;
    scene.AngleY = angles.Y;
    scene.AngleZ = angles.Z;
    const TRenderedScene r = RenderScene(scene, m);
    EXPECT_EQ(r.Polygons, e.patches * PolygonsPerPatch);
    EXPECT_GT(DrawnShare(r.Image, scene.Background), 0.05)
        << e.file << " at " << angles.X << " " << angles.Y << " " << angles.Z;
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleModels, ::testing::ValuesIn(Examples),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           std::erase(name, ' ');
                           return name;
                         });

TEST(ExampleWalk, LoadsForTheCreatureAndSavesBackByteForByte) {
  const std::string bytes = test::ReadBytes(ExamplePath("creature-walk.MVA"));
  TAnimationList set;
  LoadAnimations(SplitLines(bytes), set);
  EXPECT_EQ(set.ModelName, LoadExample("creature.MVD").Name);
  ASSERT_EQ(set.Count, 4);
  TextLines saved;
  SaveAnimations(set, saved);
  EXPECT_EQ(JoinLines(saved), bytes);
}

TEST(ExampleWalk, PlayedOnTheCreatureMovesEachFootAndItsLegWithinTheDragSpace) {
  TMorvObject m = LoadExample("creature.MVD");
  const TMorvObject start = m;
  TAnimationList set;
  LoadAnimations(ReadTextLines(ExamplePath("creature-walk.MVA")), set);
  std::set<int32_t> joints;
  for (int32_t k = 1; k <= set.Count; ++k) {
    ASSERT_EQ(PlayAnimation(m, set, k), PlayOutcome::Started) << k;
    EXPECT_TRUE(set.Animations[k].Repeat);
    joints.insert(set.Animations[k].Joint);
  }
  EXPECT_EQ(joints.size(), 4u);

  std::set<int32_t> moved;
  for (int tick = 0; tick < 60; ++tick) {
    AnimationStep(m, set);
    for (int32_t j : joints) {
      const TJoint& now = m.Joints[j];
      const TJoint& was = start.Joints[j];
      if (now.Position == was.Position) continue;
      moved.insert(j);
      // The foot stays within a step of where it stood, and the vertices it carries go with it.
      EXPECT_LE(std::abs(now.Position.X - was.Position.X), 10);
      EXPECT_LE(std::abs(now.Position.Z - was.Position.Z), 10);
      EXPECT_EQ(now.Position.Y, was.Position.Y);
      const int32_t first = now.ControlRefs[1];
      EXPECT_EQ(m.Controls[first].X - start.Controls[first].X, now.Position.X - was.Position.X);
      EXPECT_EQ(m.Controls[first].Z - start.Controls[first].Z, now.Position.Z - was.Position.Z);
    }
    EXPECT_EQ(PlayingList(set), "{1 2 3 4 }");
  }
  EXPECT_EQ(moved, joints);
  for (int32_t i = 1; i <= m.ControlCount; ++i) EXPECT_TRUE(InDragSpace(m.Controls[i])) << i;
}

}  // namespace
}  // namespace morv
