// Whole-degree rotation, curve subdivision, facing, shading and projection, with their numbers.
#include "engine/vector_maths.h"

#include <gtest/gtest.h>

#include "engine/angle_tables.h"
#include "engine/rounding.h"
#include "engine/view_parameters.h"

namespace morv {
namespace {

class VectorMaths : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeAngleTables();
    SetStartViewParameters();
  }
  void TearDown() override { SetStartViewParameters(); }

  static TPoint3D Rotated(TPoint3D p, int32_t ax, int32_t ay, int32_t az) {
    RotatePoint(p, ax, ay, az);
    return p;
  }

  static TScreenPoint Projected(TPoint3D p) {
    TScreenPoint s{-1, -1};
    EXPECT_TRUE(ProjectPoint(p, s));
    return s;
  }
};

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundToInt(2.5), 2);
  EXPECT_EQ(RoundToInt(-2.5), -2);
  EXPECT_EQ(RoundToInt(3.5), 4);
  EXPECT_EQ(RoundToInt(0.4999), 0);
  EXPECT_EQ(RoundToInt(-7.6), -8);
  EXPECT_EQ(RoundToInt(1e300), INT32_MAX);
  EXPECT_EQ(RoundToInt(-1e300), INT32_MIN);
  EXPECT_EQ(RoundToInt(std::nan("")), 0);
}

TEST_F(VectorMaths, AngleTablesHoldEveryWholeDegree) {
  EXPECT_EQ(CosTable[0], 1.0);
  EXPECT_EQ(SinTable[90], 1.0);
  EXPECT_EQ(CosTable[180], -1.0);
  EXPECT_NE(CosTable[90], 0.0);
  EXPECT_LT(std::abs(CosTable[90]), 1e-16);
  EXPECT_NEAR(CosTable[360], CosTable[0], 1e-15);
}

TEST_F(VectorMaths, RotatesAboutZThenXThenYRoundingEachStep) {
  EXPECT_EQ(Rotated({100, 0, 0}, 0, 0, 90), (TPoint3D{0, 100, 0}));
  EXPECT_EQ(Rotated({100, 0, 0}, 0, 90, 0), (TPoint3D{0, 0, 100}));
  EXPECT_EQ(Rotated({0, 0, 100}, 90, 0, 0), (TPoint3D{0, -100, 0}));
  EXPECT_EQ(Rotated({100, 50, 20}, 30, 45, 60), (TPoint3D{-47, 87, 57}));
  EXPECT_EQ(Rotated({100, 50, 20}, 0, 0, 0), (TPoint3D{100, 50, 20}));
  EXPECT_EQ(Rotated({100, 50, 20}, 360, 360, 360), (TPoint3D{100, 50, 20}));
  EXPECT_EQ(Rotated({-33, 71, 5}, 360, 0, 360), Rotated({-33, 71, 5}, 0, 0, 0));
}

TEST_F(VectorMaths, ExtremeCoordinatesRotateWithoutOverflow) {
  const TPoint3D p = Rotated({INT32_MAX, INT32_MIN, INT32_MAX}, 45, 45, 45);
  (void)p;  // saturates; the sanitizer build checks there is no undefined behaviour
  EXPECT_EQ(Rotated({INT32_MIN, 0, 0}, 0, 0, 0).X, INT32_MIN);
}

TEST_F(VectorMaths, SubdividesACubicAtItsMiddle) {
  const auto r = SubdivideBezier({0, 0, 0}, {0, 90, 0}, {90, 90, 0}, {90, 0, 0});
  EXPECT_EQ(r[0], (TVector3D{0, 0, 0}));
  EXPECT_EQ(r[1], (TVector3D{0, 45, 0}));
  EXPECT_EQ(r[2], (TVector3D{22.5, 67.5, 0}));
  EXPECT_EQ(r[3], (TVector3D{45, 67.5, 0}));
  EXPECT_EQ(r[4], (TVector3D{67.5, 67.5, 0}));
  EXPECT_EQ(r[5], (TVector3D{90, 45, 0}));
  EXPECT_EQ(r[6], (TVector3D{90, 0, 0}));
  EXPECT_EQ(r[7], (TVector3D{45, 90, 0}));
  EXPECT_EQ(RoundVector({22.5, -2.5, 3.5}), (TPoint3D{22, -2, 4}));
  EXPECT_EQ(ToVector({1, -2, 3}), (TVector3D{1, -2, 3}));
}

TEST_F(VectorMaths, NormalisesTheLight) {
  auto light = NormaliseLight();
  ASSERT_TRUE(light.has_value());
  EXPECT_NEAR(light->X, 0.94386, 1e-5);
  EXPECT_EQ(light->Y, 0.0);
  EXPECT_NEAR(light->Z, -0.33035, 1e-5);
  LightVector = {0, 0, 0};
  EXPECT_FALSE(NormaliseLight().has_value());
}

TEST_F(VectorMaths, FacingFollowsTheCornerOrder) {
  // B - A along +x, A - C along -y: the normal points to -z, toward the eye.
  const TPoint3D a{0, 0, 0}, b{10, 0, 0}, c{0, 10, 0};
  EXPECT_EQ(FacingValue(a, b, c), -100);
  EXPECT_EQ(FacingValue(a, c, b), 100);
  EXPECT_EQ(FacingValue(a, b, {20, 0, 5}), 0) << "edge-on";
  // Differences and products beyond 32 bits stay exact.
  EXPECT_EQ(FacingValue({INT32_MIN, 0, 0}, {INT32_MAX, 0, 0}, {INT32_MIN, 1, 0}),
            -int64_t{UINT32_MAX});
}

TEST_F(VectorMaths, ShadesByTheAngleBetweenNormalAndLight) {
  ComputeNormal({0, 0, 0}, {10, 0, 0}, {0, 10, 0});
  EXPECT_EQ(NormalVector, (TVector3D{0, 0, -1}));
  EXPECT_NEAR(ShadeFactor(*NormaliseLight()), 0.33035, 1e-5);
  EXPECT_EQ(ShadeFactor({0, 0, -1}), 1.0);
  EXPECT_EQ(ShadeFactor({0, 0, 1}), 0.0) << "light from behind";
  EXPECT_EQ(ShadeFactor({0, 0, -1.5}), 0.0) << "a factor above 1 counts as 0";
  ComputeNormal({1, 1, 1}, {1, 1, 1}, {1, 1, 1});
  EXPECT_EQ(NormalVector, (TVector3D{0, 0, 0}));
}

TEST_F(VectorMaths, ProjectsWithTheStartView) {
  EXPECT_EQ(Projected({0, 0, 0}), (TScreenPoint{180, 180}));
  EXPECT_EQ(Projected({100, 0, 0}), (TScreenPoint{80, 180}));
  EXPECT_EQ(Projected({0, 100, 0}), (TScreenPoint{180, 280}));
  EXPECT_EQ(Projected({100, 100, -200}), (TScreenPoint{130, 230}));
  EXPECT_EQ(Projected({1, 0, 120}), (TScreenPoint{178, 180})) << "-2.5 rounds to -2";
  EXPECT_EQ(Projected({10, 10, 300}), (TScreenPoint{200, 160})) << "behind the eye: mirrored";
}

TEST_F(VectorMaths, ProjectionAtTheEyePlaneFailsAndLeavesThePoint) {
  TScreenPoint s{7, 9};
  EXPECT_FALSE(ProjectPoint({5, 5, 200}, s));
  EXPECT_EQ(s, (TScreenPoint{7, 9}));
  EXPECT_TRUE(ProjectPoint({INT32_MAX, INT32_MIN, INT32_MIN}, s));
}

}  // namespace
}  // namespace morv
