// Newtonian mechanics of the joints: user forces, mutual gravity and one integration tick.
#pragma once

#include <cstdint>

#include "engine/model.h"

namespace morv {

// G of the gravity law, shared by every tick.
extern double GravitationalConstant;

// 6.67 x 10^-11, the value each start of the mechanics sets.
double StartingGravitationalConstant();

// The value the console's two track bars give: mantissa x 10^power.
double GravitationalConstantFrom(int32_t mantissa, int32_t power);

// Adds force / mass to the acceleration of joint j. A joint outside the model is left alone.
void ApplyForce(TMorvObject& model, int32_t j, const TVelocity3D& force);

// One tick over all joints in index order: every other joint pulls joint j, the pull grows its
// acceleration, the acceleration its velocity, and the joint moves by the rounded velocity.
// Coincident joints do not pull each other; values that would overflow saturate.
void PhysicsStep(TMorvObject& model);
// The same with G given, reading nothing shared, so that simulations may run on several threads.
void PhysicsStep(TMorvObject& model, double gravitationalConstant);

// The two loops that compute a tick's pulls: one for every x86-64 processor and one that uses
// AVX2. They give the same bits; PhysicsStep runs the vectorised one where the processor has it.
// Only tests name a loop.
enum class PullLoop { Portable, Vectorised };
bool PullLoopRuns(PullLoop loop);
// PhysicsStep with the given loop; a loop the processor cannot run falls back to the portable one.
void PhysicsStep(TMorvObject& model, PullLoop loop);
void PhysicsStep(TMorvObject& model, PullLoop loop, double gravitationalConstant);

// sqrt(fx^2 + fy^2 + fz^2), without overflow for any 32-bit components.
double ForceMagnitude(int32_t fx, int32_t fy, int32_t fz);

}  // namespace morv
