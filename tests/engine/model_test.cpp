// Joints carry their control vertices rigidly; indices never reach outside the arrays.
#include "engine/model.h"

#include <gtest/gtest.h>

namespace morv {
namespace {

TMorvObject ModelWithJoint() {
  TMorvObject m;
  m.ControlCount = 3;
  m.Controls[1] = {10, 20, 30};
  m.Controls[2] = {-5, 0, 5};
  m.Controls[3] = {100, 100, 100};
  m.JointCount = 1;
  m.Joints[1].Position = {1, 2, 3};
  m.Joints[1].RefCount = 2;
  m.Joints[1].ControlRefs[1] = 1;
  m.Joints[1].ControlRefs[2] = 2;
  return m;
}

TEST(MoveJoint, CarriesReferencedVerticesByTheSameDisplacement) {
  TMorvObject m = ModelWithJoint();
  MoveJoint(m, 1, 11, 0, -7);
  EXPECT_EQ(m.Joints[1].Position, (TControlVertex{11, 0, -7}));
  EXPECT_EQ(m.Controls[1], (TControlVertex{20, 18, 20}));
  EXPECT_EQ(m.Controls[2], (TControlVertex{5, -2, -5}));
  EXPECT_EQ(m.Controls[3], (TControlVertex{100, 100, 100})) << "unreferenced vertex moved";
}

TEST(MoveJoint, WithoutReferencesMovesOnlyTheJoint) {
  TMorvObject m = ModelWithJoint();
  m.Joints[1].RefCount = 0;
  const TMorvObject before = m;
  MoveJoint(m, 1, 50, 60, 70);
  EXPECT_EQ(m.Joints[1].Position, (TControlVertex{50, 60, 70}));
  m.Joints[1].Position = before.Joints[1].Position;
  EXPECT_EQ(m, before);
}

TEST(MoveJoint, ToItsOwnPositionChangesNothing) {
  TMorvObject m = ModelWithJoint();
  const TMorvObject before = m;
  MoveJoint(m, 1, 1, 2, 3);
  EXPECT_EQ(m, before);
}

TEST(MoveJoint, SuccessiveMovesAddUp) {
  TMorvObject m = ModelWithJoint();
  MoveJoint(m, 1, 7, 7, 7);
  MoveJoint(m, 1, -4, 9, 100);
  // Net displacement from (1, 2, 3) to (-4, 9, 100).
  EXPECT_EQ(m.Controls[1], (TControlVertex{5, 27, 127}));
}

TEST(MoveJoint, AVertexListedTwiceMovesTwiceAsFar) {
  TMorvObject m = ModelWithJoint();
  m.Joints[1].ControlRefs[2] = 1;
  MoveJoint(m, 1, 2, 2, 3);
  EXPECT_EQ(m.Controls[1], (TControlVertex{12, 20, 30}));
  EXPECT_EQ(m.Controls[2], (TControlVertex{-5, 0, 5}));
}

TEST(MoveJoint, ReferenceToARemovedVertexFollowsTheEntryThatReplacesIt) {
  TMorvObject m = ModelWithJoint();
  m.ControlCount = 1;  // vertex 2 removed; the joint still names it
  MoveJoint(m, 1, 2, 2, 3);
  EXPECT_EQ(m.Joints[1].ControlRefs[2], 2);
  m.ControlCount = 2;
  m.Controls[2] = {0, 0, 0};  // a new vertex takes entry 2
  MoveJoint(m, 1, 3, 2, 3);
  EXPECT_EQ(m.Controls[2], (TControlVertex{1, 0, 0}));
}

TEST(MoveJoint, SkipsReferencesOutsideTheArrayAndIgnoresUnknownJoints) {
  TMorvObject m = ModelWithJoint();
  m.Joints[1].ControlRefs[1] = 0;
  m.Joints[1].ControlRefs[2] = 1001;
  TMorvObject expected = m;
  expected.Joints[1].Position = {9, 9, 9};
  MoveJoint(m, 1, 9, 9, 9);
  EXPECT_EQ(m, expected) << "only the joint moves";
  MoveJoint(m, 0, 1, 1, 1);
  MoveJoint(m, 1001, 1, 1, 1);
  EXPECT_EQ(m, expected) << "unknown joints change nothing";
}

TEST(MoveJoint, ACountBeyondTheReferenceArrayCarriesEveryEntryOfTheArray) {
  TMorvObject m = ModelWithJoint();
  // Entry k names vertex 1, 2 or 3 in turn, so vertex 1 is named 34 times and the others 33.
  for (int32_t k = 1; k <= MaxJointRefs; ++k) m.Joints[1].ControlRefs[k] = (k - 1) % 3 + 1;
  m.Joints[1].RefCount = 5000;
  TMorvObject expected = m;
  expected.Joints[1].Position = {2, 3, 4};  // one step of (1, 1, 1) from (1, 2, 3)
  expected.Controls[1] = {10 + 34, 20 + 34, 30 + 34};
  expected.Controls[2] = {-5 + 33, 0 + 33, 5 + 33};
  expected.Controls[3] = {100 + 33, 100 + 33, 100 + 33};
  ASSERT_NO_THROW(MoveJoint(m, 1, 2, 3, 4));
  // Nothing else changes: no vertex past the named ones, neither the count nor the references.
  EXPECT_EQ(m, expected);
}

TEST(MoveJoint, ANegativeCountCarriesNothingButMovesTheJoint) {
  TMorvObject m = ModelWithJoint();
  m.Joints[1].RefCount = -7;
  const TMorvObject before = m;
  ASSERT_NO_THROW(MoveJoint(m, 1, -40, 50, 60));
  EXPECT_EQ(m.Joints[1].Position, (TControlVertex{-40, 50, 60}));
  m.Joints[1].Position = before.Joints[1].Position;
  EXPECT_EQ(m, before);
}

TEST(MoveJoint, ExtremeCoordinatesWrapInsteadOfOverflowing) {
  TMorvObject m = ModelWithJoint();
  m.Controls[1] = {INT32_MAX, INT32_MIN, 0};
  m.Joints[1].Position = {0, 0, 0};
  MoveJoint(m, 1, 1, -1, INT32_MIN);
  EXPECT_EQ(m.Controls[1], (TControlVertex{INT32_MIN, INT32_MAX, INT32_MIN}));
}

TEST(Model, CopyingTakesTheWholeValue) {
  TMorvObject a = ModelWithJoint();
  a.Name = "Cube";
  TMorvObject b = a;
  a.Controls[1].X = 999;
  a.Name = "Other";
  EXPECT_EQ(b.Controls[1].X, 10);
  EXPECT_EQ(b.Name, "Cube");
}

TEST(Model, ArraysRefuseIndicesOutsideOneToCapacity) {
  TMorvObject m;
  EXPECT_THROW(m.Controls[0], std::out_of_range);
  EXPECT_THROW(m.Controls[1001], std::out_of_range);
  EXPECT_THROW(m.Joints[1].ControlRefs[101], std::out_of_range);
  EXPECT_NO_THROW(m.Patches[1000].ControlIndex[8] = 1);
}

}  // namespace
}  // namespace morv
