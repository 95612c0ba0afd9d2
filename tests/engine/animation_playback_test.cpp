// Animation playback: arrival, stepping, the jump back to the first location, Play and Stop.
#include "engine/animation_playback.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace morv {
namespace {

TPoint3D P(int32_t x, int32_t y, int32_t z) { return {x, y, z}; }

TPoint3D JointAt(const TMorvObject& m, int32_t j) {
  const TControlVertex& p = m.Joints[j].Position;
  return {p.X, p.Y, p.Z};
}

// One joint at the origin carrying one control vertex 10 units above it.
class Playback : public ::testing::Test {
 protected:
  void SetUp() override {
    model.ControlCount = 1;
    model.Controls[1] = {0, 10, 0};
    model.JointCount = 1;
    model.Joints[1].RefCount = 1;
    model.Joints[1].ControlRefs[1] = 1;
  }

  int32_t Add(std::vector<TPoint3D> locations, int32_t speed, bool repeat, int32_t joint = 1) {
    TAnimation& a = set.Animations[++set.Count];
    a.Joint = joint;
    a.Speed = speed;
    a.Repeat = repeat;
    for (const TPoint3D& p : locations) a.Locations[++a.LocationCount] = p;
    return set.Count;
  }

  void Ticks(int n) {
    for (int i = 0; i < n; ++i) AnimationStep(model, set);
  }

  TMorvObject model;
  TAnimationList set;
};

TEST(IsNear, IsABoxOfElevenUnitsWithItsBounds) {
  EXPECT_TRUE(IsNear(P(5, -5, 0), P(0, 0, 0)));
  EXPECT_FALSE(IsNear(P(6, 0, 0), P(0, 0, 0)));
  EXPECT_FALSE(IsNear(P(0, 0, -6), P(0, 0, 0)));
  EXPECT_TRUE(IsNear(P(-2147483647 - 1, 0, 0), P(-2147483643, 0, 0)));
  // Far apart on the 32-bit circle is far apart, not near by wrapping.
  EXPECT_FALSE(IsNear(P(2147483647, 0, 0), P(-2147483647 - 1, 0, 0)));
}

TEST(AimAnimation, GivesAStepOfTheSpeedsLengthTowardTheTarget) {
  TAnimationList set;
  set.Animations[1].Speed = 1;
  AimAnimation(set, 1, P(0, 0, 0), P(100, 40, 0));
  EXPECT_DOUBLE_EQ(set.Animations[1].Step.X, 100 / std::sqrt(11600.0));
  EXPECT_DOUBLE_EQ(set.Animations[1].Step.Y, 40 / std::sqrt(11600.0));
  EXPECT_EQ(set.Animations[1].Step.Z, 0);
  set.Animations[1].Speed = 5;
  AimAnimation(set, 1, P(7, 7, 7), P(7, 7, 7));
  EXPECT_EQ(set.Animations[1].Step, (TVector3D{0, 0, 0}));
  // Ends of the 32-bit range: the difference does not wrap round to the wrong direction.
  AimAnimation(set, 1, P(-2147483647 - 1, 0, 0), P(2147483647, 0, 0));
  EXPECT_EQ(set.Animations[1].Step, (TVector3D{5, 0, 0}));
  AimAnimation(set, 1, P(0, 0, 0), P(-2000000000, -2000000000, -2000000000));
  EXPECT_NEAR(set.Animations[1].Step.X, -5 / std::sqrt(3.0), 1e-12);
}

TEST_F(Playback, ASpeedOneLegMovesXOnlyAndNeverArrives) {
  const int32_t k = Add({P(0, 0, 0), P(100, 40, 0)}, 1, false);
  ASSERT_EQ(PlayAnimation(model, set, k), PlayOutcome::Started);
  Ticks(150);
  // 0.928 rounds to a step of 1 on X; 0.371 never moves Y, so the target stays out of reach.
  EXPECT_EQ(JointAt(model, 1), P(150, 0, 0));
  EXPECT_EQ(model.Controls[1], (TControlVertex{150, 10, 0}));
  EXPECT_TRUE(set.Animations[k].Playing);
}

TEST_F(Playback, ArrivalIsTestedBeforeMovingAndTheLastLocationJumpsBack) {
  const int32_t k = Add({P(0, 0, 0), P(3, 0, 0), P(28, 0, 0)}, 10, false);
  PlayAnimation(model, set, k);
  // Location 2 is within 5 of location 1: the first tick snaps onto it without stepping.
  Ticks(1);
  EXPECT_EQ(JointAt(model, 1), P(3, 0, 0));
  EXPECT_EQ(set.Animations[k].Target, 3);
  Ticks(1);
  EXPECT_EQ(JointAt(model, 1), P(13, 0, 0));
  Ticks(1);
  EXPECT_EQ(JointAt(model, 1), P(23, 0, 0));
  EXPECT_TRUE(set.Animations[k].Playing);
  // 23 is within 5 of 28: the joint goes back to location 1, never onto 28, and stops.
  Ticks(1);
  EXPECT_EQ(JointAt(model, 1), P(0, 0, 0));
  EXPECT_EQ(model.Controls[1], (TControlVertex{0, 10, 0}));
  EXPECT_FALSE(set.Animations[k].Playing);
  EXPECT_EQ(PlayingList(set), "{}");
}

TEST_F(Playback, RepeatStartsAgainAtTheSecondLocation) {
  const int32_t k = Add({P(0, 0, 0), P(0, 20, 0)}, 10, true);
  PlayAnimation(model, set, k);
  std::vector<int32_t> ys;
  for (int i = 0; i < 6; ++i) {
    Ticks(1);
    ys.push_back(model.Joints[1].Position.Y);
  }
  EXPECT_EQ(ys, (std::vector<int32_t>{10, 20, 0, 10, 20, 0}));
  EXPECT_TRUE(set.Animations[k].Playing);
  EXPECT_EQ(set.Animations[k].Target, 2);
}

TEST_F(Playback, TwoAnimationsOnOneJointBothMoveItInOrder) {
  const int32_t a = Add({P(0, 0, 0), P(100, 0, 0)}, 2, false);
  const int32_t b = Add({P(0, 0, 0), P(0, 0, 100)}, 3, false);
  PlayAnimation(model, set, a);
  PlayAnimation(model, set, b);
  EXPECT_EQ(PlayingList(set), "{1 2 }");
  Ticks(4);
  EXPECT_EQ(JointAt(model, 1), P(8, 0, 12));
}

TEST_F(Playback, SpeedZeroAndHalfStepsFollowTheRounding) {
  const int32_t still = Add({P(0, 0, 0), P(50, 0, 0)}, 0, false);
  PlayAnimation(model, set, still);
  Ticks(5);
  EXPECT_EQ(JointAt(model, 1), P(0, 0, 0));
  EXPECT_TRUE(set.Animations[still].Playing);
  StopAnimation(model, set, still);
  // A step of exactly 0.5 moves an odd coordinate to the even neighbour and then stays.
  const int32_t half = Add({P(1, 0, 0), P(101, 0, 0)}, 1, false);
  PlayAnimation(model, set, half);
  set.Animations[half].Step = {0.5, 0, 0};
  Ticks(3);
  EXPECT_EQ(JointAt(model, 1), P(2, 0, 0));
}

TEST_F(Playback, PlayAndStopReturnTheJointToTheFirstLocation) {
  const int32_t k = Add({P(-50, 0, 0), P(50, 0, 0)}, 4, false);
  EXPECT_EQ(PlayAnimation(model, set, k), PlayOutcome::Started);
  EXPECT_EQ(JointAt(model, 1), P(-50, 0, 0));
  EXPECT_EQ(model.Controls[1], (TControlVertex{-50, 10, 0}));
  Ticks(5);
  // Playing again restarts from the first location.
  PlayAnimation(model, set, k);
  EXPECT_EQ(JointAt(model, 1), P(-50, 0, 0));
  Ticks(5);
  StopAnimation(model, set, k);
  EXPECT_FALSE(set.Animations[k].Playing);
  EXPECT_EQ(JointAt(model, 1), P(-50, 0, 0));
  // Stop puts the joint back even when the animation was not playing.
  MoveJoint(model, 1, 7, 7, 7);
  StopAnimation(model, set, k);
  EXPECT_EQ(JointAt(model, 1), P(-50, 0, 0));
}

TEST_F(Playback, AnimationsThatCannotPlayMoveNothing) {
  const int32_t one = Add({P(9, 9, 9)}, 1, true);
  const int32_t none = Add({}, 1, true);
  const int32_t ghost = Add({P(9, 9, 9), P(20, 20, 20)}, 1, true, 2);
  EXPECT_EQ(PlayAnimation(model, set, one), PlayOutcome::TooFewLocations);
  EXPECT_EQ(PlayAnimation(model, set, none), PlayOutcome::TooFewLocations);
  EXPECT_EQ(PlayAnimation(model, set, ghost), PlayOutcome::NoSuchJoint);
  EXPECT_EQ(PlayAnimation(model, set, 4), PlayOutcome::NoSuchAnimation);
  EXPECT_EQ(PlayAnimation(model, set, 0), PlayOutcome::NoSuchAnimation);
  EXPECT_NE(PlayRefusalText(PlayOutcome::NoSuchJoint, set, ghost).find("joint 2,"),
            std::string::npos);
  EXPECT_EQ(PlayingList(set), "{}");
  // Stop of such an animation clears its mark; one with a single location still returns its
  // joint there, and one without a location or a joint moves nothing.
  set.Animations[one].Playing = true;
  StopAnimation(model, set, none);
  StopAnimation(model, set, ghost);
  StopAnimation(model, set, 77);
  EXPECT_EQ(JointAt(model, 1), P(0, 0, 0));
  StopAnimation(model, set, one);
  EXPECT_FALSE(set.Animations[one].Playing);
  EXPECT_EQ(JointAt(model, 1), P(9, 9, 9));
  EXPECT_EQ(model.Joints[2].Position, (TControlVertex{}));
}

TEST_F(Playback, AnAnimationWhoseJointIsDeletedStopsPlaying) {
  const int32_t k = Add({P(0, 0, 0), P(50, 0, 0)}, 1, true);
  PlayAnimation(model, set, k);
  Ticks(2);
  model.JointCount = 0;
  Ticks(1);
  EXPECT_FALSE(set.Animations[k].Playing);
  EXPECT_EQ(model.Joints[1].Position.X, 2);
  // A slot replaced by a shorter animation while playing stops too.
  model.JointCount = 1;
  PlayAnimation(model, set, k);
  set.Animations[k].LocationCount = 1;
  Ticks(1);
  EXPECT_FALSE(set.Animations[k].Playing);
}

}  // namespace
}  // namespace morv
