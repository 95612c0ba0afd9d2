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

// The rule written out pull by pull, as one joint after another applies each force on its own.
void PlainStep(TMorvObject& m) {
  for (int32_t j = 1; j <= m.JointCount; ++j) {
    for (int32_t k = 1; k <= m.JointCount; ++k) {
      if (k == j) continue;
      const TControlVertex& a = m.Joints[j].Position;
      const TControlVertex& b = m.Joints[k].Position;
      const double dx = b.X - a.X, dy = b.Y - a.Y, dz = b.Z - a.Z;
      const double mass = m.Joints[j].Mass * GravitationalConstant * m.Joints[k].Mass;
      const double s = dx * dx + dy * dy + dz * dz;
      if (s == 0) continue;
      const double c = mass / s / std::sqrt(s);
      ApplyForce(m, j, {dx * c, dy * c, dz * c});
    }
    TJoint& joint = m.Joints[j];
    joint.Velocity.X += joint.Acceleration.X;
    joint.Velocity.Y += joint.Acceleration.Y;
    joint.Velocity.Z += joint.Acceleration.Z;
    MoveJoint(m, j, RoundToInt(joint.Position.X + joint.Velocity.X),
              RoundToInt(joint.Position.Y + joint.Velocity.Y),
              RoundToInt(joint.Position.Z + joint.Velocity.Z));
  }
}

TEST_F(Mechanics, ATickGivesExactlyTheBitsOfThePullByPullRule) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> coordinate(-300, 300), mass(1, 1000);
  for (int i = 0; i < 37; ++i) {
    AddJoint(model, {coordinate(random), coordinate(random), coordinate(random)}, mass(random));
  }
  // Two coincident joints among them.
  model.Joints[5].Position = model.Joints[6].Position;
  GravitationalConstant = GravitationalConstantFrom(3, 3);
  TMorvObject plain = model;
  for (int tick = 0; tick < 5; ++tick) {
    PhysicsStep(model);
    PlainStep(plain);
  }
  for (int32_t j = 1; j <= model.JointCount; ++j) {
    EXPECT_EQ(model.Joints[j], plain.Joints[j]) << "joint " << j;
  }
}

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
