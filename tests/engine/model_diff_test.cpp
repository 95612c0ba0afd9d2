// Differences of model states take every edit back and bring it again exactly, motion aside.
#include "engine/model_diff.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "bench/full_model.h"

namespace morv {
namespace {

// The model with the mechanics' motion of `motion`, which no difference carries.
TMorvObject WithMotionOf(TMorvObject model, const TMorvObject& motion) {
  for (int32_t j = 1; j <= MaxJoints; ++j) {
    model.Joints[j].Velocity = motion.Joints[j].Velocity;
    model.Joints[j].Acceleration = motion.Joints[j].Acceleration;
  }
  return model;
}

// One random edit of the kinds the editor makes, on a model that starts small and grows.
void RandomEdit(TMorvObject& m, std::mt19937& random) {
  auto pick = [&](int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(random);
  };
  switch (pick(0, 9)) {
    case 0:
      m.Name = "Name" + std::to_string(pick(0, 3)) + std::string(pick(0, 40), 'x');
      break;
    case 1:
      if (m.ControlCount < MaxControls) m.Controls[++m.ControlCount] = {pick(-9, 9), 4, pick(0, 2)};
      break;
    case 2:
      if (m.ControlCount > 0) --m.ControlCount;
      break;
    case 3:
      if (m.ControlCount > 0) {
        TBezierPatch& p = m.Patches[++m.PatchCount];
        for (int32_t k = 1; k <= PatchControlCount; ++k)
          p.ControlIndex[k] = pick(1, m.ControlCount);
        p.Colour = pick(0, ColourWhite);
      }
      break;
    case 4:
      if (m.PatchCount > 0) m.Patches[pick(1, m.PatchCount)].Colour = pick(0, ColourWhite);
      break;
    case 5: {
      TJoint& j = m.Joints[++m.JointCount];
      j.Position = {pick(-5, 5), 0, 1};
      j.Mass = pick(1, 9);
      while (j.RefCount < MaxJointRefs && m.ControlCount > 0 && pick(0, 3) != 0) {
        j.ControlRefs[++j.RefCount] = pick(1, m.ControlCount);
      }
      break;
    }
    case 6:
      if (m.JointCount > 0) MoveJoint(m, pick(1, m.JointCount), pick(-50, 50), pick(-50, 50), 3);
      break;
    case 7:
      m.Owner = m.Owner.empty() ? "Zed " : "";
      m.Password = "pw" + std::to_string(pick(0, 2));
      m.Locked = !m.Locked;
      break;
    case 8:
      if (m.JointCount > 0) --m.JointCount;
      break;
    default:
      // The mechanics' running state only.
      if (m.JointCount > 0) {
        TJoint& j = m.Joints[pick(1, m.JointCount)];
        j.Velocity.X += 1.5;
        j.Acceleration.Z -= 0.25;
      }
      break;
  }
}

TEST(ModelDiff, RandomEditsUndoAndRedoToEveryStateInBetween) {
  std::mt19937 random(20261209);
  TMorvObject model;
  std::vector<TMorvObject> states{model};
  std::vector<TModelDiff> steps;
  for (int i = 0; i < 400; ++i) {
    RandomEdit(model, random);
    TModelDiff diff = DiffModels(states.back(), model);
    // A change of the motion alone is no step.
    const bool moved = !(WithMotionOf(states.back(), model) == model);
    ASSERT_EQ(diff.Empty(), !moved) << "edit " << i;
    if (diff.Empty()) continue;
    steps.push_back(std::move(diff));
    states.push_back(model);
  }
  ASSERT_GT(steps.size(), 300u);

  // Back to the start one step at a time, the motion left as it is, then forward again.
  TMorvObject walked = model;
  for (std::size_t s = steps.size(); s-- > 0;) {
    Exchange(walked, steps[s]);
    ASSERT_EQ(walked, WithMotionOf(states[s], model)) << "undo of step " << s;
  }
  for (std::size_t s = 0; s < steps.size(); ++s) {
    Exchange(walked, steps[s]);
    ASSERT_EQ(walked, WithMotionOf(states[s + 1], model)) << "redo of step " << s;
  }
}

TEST(ModelDiff, DifferencesCombinedOverARunOfEditsTakeItBackAndBringItAgainAsOne) {
  std::mt19937 random(4711);
  TMorvObject model;
  std::vector<TMorvObject> states{model};
  std::vector<TModelDiff> steps;
  for (int i = 0; i < 200; ++i) {
    RandomEdit(model, random);
    TModelDiff diff = DiffModels(states.back(), model);
    if (diff.Empty()) continue;
    steps.push_back(std::move(diff));
    states.push_back(model);
  }
  for (int run = 0; run < 60; ++run) {
    const std::size_t from =
        std::uniform_int_distribution<std::size_t>(0, steps.size() - 1)(random);
    const std::size_t to =
        std::uniform_int_distribution<std::size_t>(from + 1, steps.size())(random);
    TModelDiff combined = steps[from];
    for (std::size_t k = from + 1; k < to; ++k) Combine(combined, steps[k]);
    TMorvObject walked = states[to];
    Exchange(walked, combined);
    ASSERT_EQ(walked, WithMotionOf(states[from], states[to])) << from << " to " << to;
    Exchange(walked, combined);
    ASSERT_EQ(walked, states[to]) << from << " to " << to;
  }
}

TEST(ModelDiff, ADragOfAFullJointHoldsOnlyWhatItMoved) {
  const TMorvObject before = bench::FullCapacityModel();
  TMorvObject after = before;
  // Joint 7 carries 100 distinct vertices.
  MoveJoint(after, 7, 40, -30, 20);
  const TModelDiff diff = DiffModels(before, after);
  EXPECT_EQ(diff.JointPlaces.size(), 1u);
  EXPECT_TRUE(diff.JointRefs.empty());
  EXPECT_FALSE(diff.Name || diff.ControlCount || !diff.Patches.empty());
  EXPECT_EQ(diff.Controls.size(), 100u);
  EXPECT_LT(diff.Bytes(), 4u * 1024u);
  EXPECT_TRUE(DiffModels(after, after).Empty());
}

TEST(ModelDiff, SameModelComparesWhatAFileHolds) {
  const TMorvObject base = bench::FullCapacityModel();
  struct Case {
    const char* what;
    void (*edit)(TMorvObject&);
    bool same;
  };
  const Case cases[] = {
      {"nothing", [](TMorvObject&) {}, true},
      {"one vertex fewer", [](TMorvObject& m) { --m.ControlCount, m.Controls[1000].X = 7; }, false},
      {"motion", [](TMorvObject& m) { m.Joints[3].Velocity.Y = 9; }, true},
      {"one reference fewer",
       [](TMorvObject& m) { m.Joints[2].ControlRefs[100] = 1, --m.Joints[2].RefCount; }, false},
      {"the last reference, the count kept",
       [](TMorvObject& m) { m.Joints[2].ControlRefs[m.Joints[2].RefCount] = 1; }, false},
      {"the first reference", [](TMorvObject& m) { m.Joints[999].ControlRefs[1] = 7; }, false},
      {"the name", [](TMorvObject& m) { m.Name += " "; }, false},
      {"the lock", [](TMorvObject& m) { m.Locked = true; }, false},
      {"a patch index", [](TMorvObject& m) { m.Patches[1000].ControlIndex[8] = 1; }, false},
      {"a mass", [](TMorvObject& m) { m.Joints[1000].Mass = -1; }, false},
  };
  for (const Case& c : cases) {
    TMorvObject edited = base;
    c.edit(edited);
    EXPECT_EQ(SameModel(base, edited), c.same) << c.what;
  }
  // What lies past a count once it is lowered no longer counts.
  TMorvObject a = base;
  TMorvObject b = base;
  a.ControlCount = b.ControlCount = 10;
  b.Controls[11].Z = 99;
  b.Joints[1].ControlRefs[MaxJointRefs] = 5;
  a.Joints[1].RefCount = b.Joints[1].RefCount = 4;
  EXPECT_TRUE(SameModel(a, b));
}

}  // namespace
}  // namespace morv
