// The mechanics: forces, mutual gravity, the integration order and values at the limits.
#include "engine/mechanics.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

#include "engine/rounding.h"

namespace morv {
namespace {

int32_t AddJoint(TMorvObject& m, TControlVertex at, int32_t mass) {
  TJoint& j = m.Joints[++m.JointCount];
  j.Position = at;
  j.Mass = mass;
  return m.JointCount;
}

class Mechanics : public ::testing::Test {
 protected:
  void SetUp() override { GravitationalConstant = StartingGravitationalConstant(); }
  void TearDown() override { GravitationalConstant = StartingGravitationalConstant(); }
  TMorvObject model;
};

TEST_F(Mechanics, GravitationalConstantValues) {
  EXPECT_EQ(StartingGravitationalConstant(), 1e-11 * 6.67);
  EXPECT_DOUBLE_EQ(GravitationalConstantFrom(7, -11), 7e-11);
  EXPECT_EQ(GravitationalConstantFrom(10, 12), 1e13);
  EXPECT_EQ(GravitationalConstantFrom(1, 0), 1);
}

TEST_F(Mechanics, ASingleJointAcceleratesByForceOverMassEveryTick) {
  model.ControlCount = 1;
  model.Controls[1] = {5, 5, 5};
  const int32_t j = AddJoint(model, {0, 0, 0}, 4);
  model.Joints[j].RefCount = 1;
  model.Joints[j].ControlRefs[1] = 1;
  ApplyForce(model, j, {1, -2, 0});
  EXPECT_EQ(model.Joints[j].Acceleration, (TVelocity3D{0.25, -0.5, 0}));
  std::vector<int32_t> xs;
  for (int tick = 1; tick <= 4; ++tick) {
    PhysicsStep(model);
    EXPECT_EQ(model.Joints[j].Velocity, (TVelocity3D{0.25 * tick, -0.5 * tick, 0}));
    xs.push_back(model.Joints[j].Position.X);
  }
  // X velocities 0.25, 0.5, 0.75, 1: positions 0+0.25→0, 0+0.5→0, 0+0.75→1, 1+1→2. Y halves go
  // to the even neighbour: -0.5→0, -1, -2.5→-2, -4.
  EXPECT_EQ(xs, (std::vector<int32_t>{0, 0, 1, 2}));
  EXPECT_EQ(model.Joints[j].Position.Y, -4);
  EXPECT_EQ(model.Controls[1], (TControlVertex{7, 1, 5}));
  EXPECT_EQ(model.Joints[j].Acceleration, (TVelocity3D{0.25, -0.5, 0}));
  // A joint outside the model is not touched.
  ApplyForce(model, 2, {100, 0, 0});
  ApplyForce(model, 0, {100, 0, 0});
  EXPECT_EQ(model.Joints[2].Acceleration, TVelocity3D{});
}

TEST_F(Mechanics, TwoHeavyJointsTenApartPullEachOtherEachTick) {
  AddJoint(model, {0, 0, 0}, 1000);
  AddJoint(model, {10, 0, 0}, 1000);
  PhysicsStep(model);
  EXPECT_DOUBLE_EQ(model.Joints[1].Acceleration.X, 6.67e-10);
  EXPECT_DOUBLE_EQ(model.Joints[2].Acceleration.X, -6.67e-10);
  EXPECT_EQ(model.Joints[1].Acceleration.Y, 0);
  PhysicsStep(model);
  EXPECT_DOUBLE_EQ(model.Joints[1].Acceleration.X, 1.334e-9);
  // Velocity after n ticks is the sum of 1..n pulls: they first move on tick 38720.
  int tick = 2;
  while (model.Joints[1].Position.X == 0 && tick < 40000) {
    PhysicsStep(model);
    ++tick;
  }
  EXPECT_EQ(tick, 38720);
  EXPECT_EQ(model.Joints[1].Position.X, 1);
  EXPECT_EQ(model.Joints[2].Position.X, 9);
}

// The rule written out pull by pull: each joint in turn is pulled by every other one where that
// one stands at the moment, the pull grows the joint's acceleration, the acceleration its velocity,
// and the joint moves by the rounded velocity. Coincident joints have no direction to pull in.
void PlainStep(TMorvObject& m) {
  for (int32_t j = 1; j <= m.JointCount; ++j) {
    TJoint& joint = m.Joints[j];
    for (int32_t k = 1; k <= m.JointCount; ++k) {
      if (k == j) continue;
      const TJoint& other = m.Joints[k];
      const double dx = static_cast<double>(other.Position.X) - joint.Position.X;
      const double dy = static_cast<double>(other.Position.Y) - joint.Position.Y;
      const double dz = static_cast<double>(other.Position.Z) - joint.Position.Z;
      const double masses = joint.Mass * GravitationalConstant * other.Mass;
      const double s = dx * dx + dy * dy + dz * dz;
      if (s == 0) continue;
      const double f = masses / s;
      const double r = std::sqrt(s);
      const double c = f / r;
      // The force (d.X c, d.Y c, d.Z c) applied to the joint.
      joint.Acceleration.X += dx * c / joint.Mass;
      joint.Acceleration.Y += dy * c / joint.Mass;
      joint.Acceleration.Z += dz * c / joint.Mass;
    }
    joint.Velocity.X += joint.Acceleration.X;
    joint.Velocity.Y += joint.Acceleration.Y;
    joint.Velocity.Z += joint.Acceleration.Z;
    MoveJoint(m, j, RoundToInt(joint.Position.X + joint.Velocity.X),
              RoundToInt(joint.Position.Y + joint.Velocity.Y),
              RoundToInt(joint.Position.Z + joint.Velocity.Z));
  }
}

class MechanicsLoop : public Mechanics, public ::testing::WithParamInterface<PullLoop> {};

// Joint counts around every vector width, from close and crowded to far apart, with carried
// control vertices, over a few ticks each.
TEST_P(MechanicsLoop, ATickGivesExactlyTheBitsOfThePullByPullRule) {
  if (!PullLoopRuns(GetParam())) GTEST_SKIP() << "this processor has no AVX2";
  std::mt19937 random(7);
  const struct {
    int32_t joints;
    int32_t spread;
    double g;
  } configurations[] = {{1, 5, 1},    {2, 3, 10},     {3, 300, 6.67e-11}, {4, 40, 1e3},
                        {5, 2, 1},    {7, 1000, 1e5}, {8, 300, 3e3},      {9, 10000, 1e7},
                        {16, 60, 50}, {17, 300, 3e3}, {37, 300, 3e3},     {100, 5000, 1e6}};
  for (const auto& c : configurations) {
    SCOPED_TRACE(::testing::Message() << c.joints << " joints within " << c.spread);
    TMorvObject start;
    std::uniform_int_distribution<int32_t> coordinate(-c.spread, c.spread), mass(1, 1000);
    for (int32_t i = 0; i < c.joints; ++i) {
      const TControlVertex at{coordinate(random), coordinate(random), coordinate(random)};
      const int32_t j = AddJoint(start, at, mass(random));
      start.Controls[++start.ControlCount] = at;
      start.Joints[j].RefCount = 1;
      start.Joints[j].ControlRefs[1] = start.ControlCount;
      start.Joints[j].Velocity = {0.25 * coordinate(random), 0, -0.5};
    }
    // Two coincident joints where there are enough.
    if (c.joints > 5) start.Joints[5].Position = start.Joints[6].Position;
    GravitationalConstant = c.g;
    TMorvObject stepped = start;
    TMorvObject plain = start;
    for (int tick = 0; tick < 4; ++tick) {
      PhysicsStep(stepped, GetParam());
      PlainStep(plain);
    }
    for (int32_t j = 1; j <= c.joints; ++j) {
      EXPECT_EQ(stepped.Joints[j], plain.Joints[j]) << "joint " << j;
    }
    EXPECT_TRUE(stepped == plain);
  }
}

INSTANTIATE_TEST_SUITE_P(BothLoops, MechanicsLoop,
                         ::testing::Values(PullLoop::Portable, PullLoop::Vectorised),
                         [](const ::testing::TestParamInfo<PullLoop>& info) {
                           return info.param == PullLoop::Portable ? "Portable" : "Vectorised";
                         });

TEST_F(Mechanics, NothingInfiniteOrUndefinedEverReachesAJoint) {
  // Coincident joints do not pull each other.
  AddJoint(model, {3, 3, 3}, 1000);
  AddJoint(model, {3, 3, 3}, 1000);
  GravitationalConstant = GravitationalConstantFrom(10, 12);
  PhysicsStep(model);
  EXPECT_EQ(model.Joints[1].Acceleration, TVelocity3D{});
  EXPECT_EQ(model.Joints[2].Velocity, TVelocity3D{});
  // Far ends of the range: the distance is not wrapped into a wrong direction.
  model.Joints[1].Position = {-2147483647 - 1, 0, 0};
  model.Joints[2].Position = {2147483647, 0, 0};
  PhysicsStep(model);
  EXPECT_GT(model.Joints[1].Acceleration.X, 0);
  EXPECT_LT(model.Joints[2].Acceleration.X, 0);
  // Huge forces saturate the acceleration and the position instead of overflowing.
  model.Joints[1].Mass = 1;
  for (int i = 0; i < 4; ++i) ApplyForce(model, 1, {DBL_MAX, -DBL_MAX, 0});
  PhysicsStep(model);
  PhysicsStep(model);
  const TJoint& j = model.Joints[1];
  EXPECT_EQ(j.Acceleration.X, DBL_MAX);
  EXPECT_EQ(j.Velocity.Y, -DBL_MAX);
  EXPECT_EQ(j.Position.X, 2147483647);
  EXPECT_EQ(j.Position.Y, -2147483647 - 1);
}

TEST(ForceMagnitude, IsTheLengthWithoutOverflow) {
  EXPECT_EQ(ForceMagnitude(3, 4, 0), 5);
  EXPECT_EQ(ForceMagnitude(0, 0, 0), 0);
  EXPECT_EQ(ForceMagnitude(-46341, 0, 0), 46341);
  EXPECT_DOUBLE_EQ(ForceMagnitude(-2147483647 - 1, -2147483647 - 1, -2147483647 - 1),
                   2147483648.0 * std::sqrt(3.0));
}

}  // namespace
}  // namespace morv
