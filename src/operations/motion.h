// Animation playback and the mechanics run headless: starting and stopping animations, forces,
// ticks, and the joints' state as text.
#pragma once

#include <cstdint>
#include <string>

#include "engine/animation.h"
#include "engine/model.h"
#include "engine/vector_types.h"

namespace morv {

// Why the set cannot play on the model, or nothing when it was made for it: its joints are
// numbers into the model it was made for, and in another model they move whatever joints happen
// to have those numbers.
std::string SetMismatch(const TAnimationList& set, const TMorvObject& model);

// Starts animation k as the console's Play does; the reason it cannot start (without a final full
// stop), or nothing when it started.
std::string StartAnimation(TMorvObject& model, TAnimationList& set, int32_t k);

// Stops animation k as the console's Stop does; the reason there is nothing to stop, or nothing.
std::string EndAnimation(TMorvObject& model, TAnimationList& set, int32_t k);

// Runs `ticks` ticks of playback.
void RunPlayback(TMorvObject& model, TAnimationList& set, int64_t ticks);

// Applies the force once to joint j; the reason it cannot (no such joint), or nothing.
std::string ApplyJointForce(TMorvObject& model, int32_t j, const TVelocity3D& force);

// G from the mechanics console's two track bars, mantissa 1..10 and power -12..12; RequestError
// for values the track bars cannot take.
double GravitationalConstantOf(int32_t mantissa, int32_t power);

// Runs `ticks` ticks of the mechanics with the gravitational constant g.
void RunMechanics(TMorvObject& model, double g, int64_t ticks);

// "Joint 1: 10 0 0" for each joint, one line each.
std::string JointPositionsText(const TMorvObject& model);

// "Joint 1: position 10 0 0 velocity 0.5 0 0 acceleration 0 0 0" for each joint; the numbers in
// their shortest exact form.
std::string JointMotionText(const TMorvObject& model);

}  // namespace morv
