// Newtonian mechanics of the joints: user forces, mutual gravity and one integration tick.
#include "engine/mechanics.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/rounding.h"

namespace morv {

double GravitationalConstant = StartingGravitationalConstant();

namespace {

// A sum that would leave the range of doubles stays at its largest finite value, so no infinity
// (and no NaN after it) ever reaches a joint.
double Saturated(double value) {
  if (std::isinf(value)) return std::copysign(DBL_MAX, value);
  return value;
}

void Saturate(TVelocity3D& v) {
  v.X = Saturated(v.X);
  v.Y = Saturated(v.Y);
  v.Z = Saturated(v.Z);
}

// Every joint's mass is at least 1 once loaded or created; a mass of 0 set by hand must not turn
// a force into an infinite acceleration.
double MassOf(const TJoint& joint) { return joint.Mass == 0 ? 1.0 : joint.Mass; }

}  // namespace

double StartingGravitationalConstant() { return 1e-11 * 6.67; }

double GravitationalConstantFrom(int32_t mantissa, int32_t power) {
  return mantissa * std::pow(10.0, power);
}

void ApplyForce(TMorvObject& model, int32_t j, const TVelocity3D& force) {
  if (!JointInModel(model, j)) return;
  TJoint& joint = model.Joints[j];
  const double mass = MassOf(joint);
  joint.Acceleration.X += force.X / mass;
  joint.Acceleration.Y += force.Y / mass;
  joint.Acceleration.Z += force.Z / mass;
  Saturate(joint.Acceleration);
}

namespace {

// The joints' positions and masses side by side, so the pulls on one joint are computed for many
// partners at once.
struct PullTable {
  explicit PullTable(std::size_t n) : x(n), y(n), z(n), mass(n), ax(n), ay(n), az(n), squares(n) {}
  std::vector<double> x, y, z, mass;
  // The acceleration each partner gives the joint, and the squared distance to it.
  std::vector<double> ax, ay, az, squares;
};

// The pulls on joint j from every joint k (the entry for j itself is meaningless). Division and
// square root round exactly in every vector width, so each variant below gives the same bits.
#define MORV_PULLS_PARAMETERS                                                             \
  std::size_t n, const double *__restrict x, const double *__restrict y,                  \
      const double *__restrict z, const double *__restrict mass, std::size_t j, double g, \
      double *__restrict ax, double *__restrict ay, double *__restrict az,                \
      double *__restrict squares

inline __attribute__((always_inline)) void PullsOn(MORV_PULLS_PARAMETERS) {
  const double xj = x[j], yj = y[j], zj = z[j], massJ = mass[j];
  const double massJG = massJ * g;
  for (std::size_t k = 0; k < n; ++k) {
    const double dx = x[k] - xj;
    const double dy = y[k] - yj;
    const double dz = z[k] - zj;
    const double s = dx * dx + dy * dy + dz * dz;
    const double f = massJG * mass[k] / s;
    const double c = f / std::sqrt(s);
    ax[k] = dx * c / massJ;
    ay[k] = dy * c / massJ;
    az[k] = dz * c / massJ;
    squares[k] = s;
  }
}

// Chosen by hand rather than by the loader, which would run the choice before sanitizers start.
__attribute__((target("avx2"))) void PullsOnWide(MORV_PULLS_PARAMETERS) {
  PullsOn(n, x, y, z, mass, j, g, ax, ay, az, squares);
}

void PullsOnNarrow(MORV_PULLS_PARAMETERS) { PullsOn(n, x, y, z, mass, j, g, ax, ay, az, squares); }

using PullsFunction = void (*)(MORV_PULLS_PARAMETERS);

#undef MORV_PULLS_PARAMETERS

}  // namespace

bool PullLoopRuns(PullLoop loop) {
  static const bool wide = __builtin_cpu_supports("avx2");
  return loop == PullLoop::Portable || wide;
}

void PhysicsStep(TMorvObject& model) { PhysicsStep(model, GravitationalConstant); }

void PhysicsStep(TMorvObject& model, double gravitationalConstant) {
  static const PullLoop fastest =
      PullLoopRuns(PullLoop::Vectorised) ? PullLoop::Vectorised : PullLoop::Portable;
  PhysicsStep(model, fastest, gravitationalConstant);
}

void PhysicsStep(TMorvObject& model, PullLoop loop) {
  PhysicsStep(model, loop, GravitationalConstant);
}

void PhysicsStep(TMorvObject& model, PullLoop loop, double gravitationalConstant) {
  const PullsFunction computePulls =
      loop == PullLoop::Vectorised && PullLoopRuns(loop) ? PullsOnWide : PullsOnNarrow;
  const int32_t count = model.JointCount < MaxJoints ? model.JointCount : MaxJoints;
  if (count < 1) return;
  const std::size_t n = static_cast<std::size_t>(count);
  PullTable t(n);
  for (std::size_t i = 0; i < n; ++i) {
    const TJoint& joint = model.Joints[static_cast<int32_t>(i + 1)];
    // Integer differences of 32-bit positions are exact in doubles.
    t.x[i] = joint.Position.X;
    t.y[i] = joint.Position.Y;
    t.z[i] = joint.Position.Z;
    t.mass[i] = MassOf(joint);
  }
  const double g = gravitationalConstant;
  for (std::size_t j = 0; j < n; ++j) {
    TJoint& joint = model.Joints[static_cast<int32_t>(j + 1)];
    computePulls(n, t.x.data(), t.y.data(), t.z.data(), t.mass.data(), j, g, t.ax.data(),
                 t.ay.data(), t.az.data(), t.squares.data());
    // The pulls are added in the order of the partners, exactly as if each were applied on its
    // own. Coincident joints have no direction to pull in.
    TVelocity3D acc = joint.Acceleration;
    for (std::size_t k = 0; k < n; ++k) {
      if (k == j || t.squares[k] == 0) continue;
      acc.X += t.ax[k];
      acc.Y += t.ay[k];
      acc.Z += t.az[k];
    }
    Saturate(acc);
    joint.Acceleration = acc;
    joint.Velocity.X += acc.X;
    joint.Velocity.Y += acc.Y;
    joint.Velocity.Z += acc.Z;
    Saturate(joint.Velocity);
    // Positions beyond the 32-bit range stay at its ends. Later joints are pulled toward where
    // this one is now.
    MoveJoint(model, static_cast<int32_t>(j + 1), RoundToInt(t.x[j] + joint.Velocity.X),
              RoundToInt(t.y[j] + joint.Velocity.Y), RoundToInt(t.z[j] + joint.Velocity.Z));
    t.x[j] = joint.Position.X;
    t.y[j] = joint.Position.Y;
    t.z[j] = joint.Position.Z;
  }
}

double ForceMagnitude(int32_t fx, int32_t fy, int32_t fz) {
  // Each square is below 2^62, so the sum of three fits 64 unsigned bits.
  const auto square = [](int32_t v) {
    const uint64_t magnitude = static_cast<uint64_t>(std::llabs(int64_t{v}));
    return magnitude * magnitude;
  };
  const uint64_t s = square(fx) + square(fy) + square(fz);
  return std::sqrt(static_cast<double>(s));
}

}  // namespace morv
