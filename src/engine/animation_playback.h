// Playback of the animation set: each playing animation walks its joint toward the next location.
#pragma once

#include <cstdint>
#include <string>

#include "engine/animation.h"
#include "engine/model.h"

namespace morv {

// True when a and b differ by at most 5 on every axis.
bool IsNear(const TPoint3D& a, const TPoint3D& b);

// Sets the step of animation k to the vector from `from` toward `to` whose length is the
// animation's speed; a leg of length 0 gives a zero step.
void AimAnimation(TAnimationList& set, int32_t k, const TPoint3D& from, const TPoint3D& to);

// Advances every playing animation 1..Count by one tick, in order. An animation that cannot play
// (its joint is gone, or it has too few locations) stops instead of moving anything.
void AnimationStep(TMorvObject& model, TAnimationList& set);

enum class PlayOutcome { Started, NoSuchAnimation, TooFewLocations, NoSuchJoint };

// Starts animation k from its first location (restarting it if it plays already). An animation
// that cannot play is left as it was and nothing moves.
PlayOutcome PlayAnimation(TMorvObject& model, TAnimationList& set, int32_t k);

// What the user is told, in UTF-8, when Play refused animation k; empty for Started.
std::string PlayRefusalText(PlayOutcome outcome, const TAnimationList& set, int32_t k);

// Stops animation k and puts its joint back on the first location. Of an animation without a
// location, or whose joint the model lacks, only the playing mark is cleared.
void StopAnimation(TMorvObject& model, TAnimationList& set, int32_t k);

// Stops every animation where its joint stands, without Stop's return to the first location.
void HaltAnimations(TAnimationList& set);

// The numbers of the playing animations in braces, each followed by a space: "{1 3 }".
std::string PlayingList(const TAnimationList& set);

}  // namespace morv
