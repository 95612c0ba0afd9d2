// Playback of the animation set: each playing animation walks its joint toward the next location.
#include "engine/animation_playback.h"

#include <cmath>
#include <cstdlib>

#include "engine/latin1.h"
#include "engine/rounding.h"

namespace morv {

namespace {

PlayOutcome Playability(const TMorvObject& model, const TAnimationList& set, int32_t k) {
  if (k < 1 || k > set.Count || !decltype(set.Animations)::Holds(k)) {
    return PlayOutcome::NoSuchAnimation;
  }
  const TAnimation& a = set.Animations[k];
  if (a.LocationCount < 2 || a.LocationCount > MaxLocations) return PlayOutcome::TooFewLocations;
  if (!JointInModel(model, a.Joint)) return PlayOutcome::NoSuchJoint;
  return PlayOutcome::Started;
}

TPoint3D PositionOf(const TJoint& joint) {
  return {joint.Position.X, joint.Position.Y, joint.Position.Z};
}

void MoveJointTo(TMorvObject& model, int32_t joint, const TPoint3D& to) {
  MoveJoint(model, joint, to.X, to.Y, to.Z);
}

bool Within5(int32_t a, int32_t b) { return std::llabs(int64_t{a} - int64_t{b}) <= 5; }

}  // namespace

bool IsNear(const TPoint3D& a, const TPoint3D& b) {
  return Within5(a.X, b.X) && Within5(a.Y, b.Y) && Within5(a.Z, b.Z);
}

void AimAnimation(TAnimationList& set, int32_t k, const TPoint3D& from, const TPoint3D& to) {
  TAnimation& a = set.Animations[k];
  // Differences and their squares in 64 bits: far locations must not wrap into a wrong direction.
  const int64_t dx = int64_t{to.X} - from.X;
  const int64_t dy = int64_t{to.Y} - from.Y;
  const int64_t dz = int64_t{to.Z} - from.Z;
  const double s = static_cast<double>(dx) * static_cast<double>(dx) +
                   static_cast<double>(dy) * static_cast<double>(dy) +
                   static_cast<double>(dz) * static_cast<double>(dz);
  double dist = std::sqrt(s);
  // A leg of length 0 gives a zero step rather than a division by zero.
  if (dist == 0) dist = 1e-15;
  const double f = a.Speed / dist;
  a.Step = {static_cast<double>(dx) * f, static_cast<double>(dy) * f, static_cast<double>(dz) * f};
}

void AnimationStep(TMorvObject& model, TAnimationList& set) {
  const int32_t count = set.Count < MaxAnimations ? set.Count : MaxAnimations;
  for (int32_t k = 1; k <= count; ++k) {
    TAnimation& a = set.Animations[k];
    if (!a.Playing) continue;
    // The joint may have been deleted, or the animation replaced by a shorter one: it stops
    // rather than move a joint slot the model does not use.
    if (Playability(model, set, k) != PlayOutcome::Started || a.Target < 1 ||
        a.Target > a.LocationCount) {
      a.Playing = false;
      continue;
    }
    const TJoint& joint = model.Joints[a.Joint];
    const TPoint3D p = PositionOf(joint);
    if (IsNear(p, a.Locations[a.Target])) {
      if (a.Target == a.LocationCount) {
        // The last location is never stood on: the joint jumps back to the first.
        MoveJointTo(model, a.Joint, a.Locations[1]);
        if (a.Repeat) {
          a.Target = 2;
          AimAnimation(set, k, a.Locations[1], a.Locations[2]);
        } else {
          a.Playing = false;
        }
      } else {
        MoveJointTo(model, a.Joint, a.Locations[a.Target]);
        ++a.Target;
        AimAnimation(set, k, PositionOf(joint), a.Locations[a.Target]);
      }
    } else {
      MoveJointTo(
          model, a.Joint,
          {RoundToInt(p.X + a.Step.X), RoundToInt(p.Y + a.Step.Y), RoundToInt(p.Z + a.Step.Z)});
    }
  }
}

PlayOutcome PlayAnimation(TMorvObject& model, TAnimationList& set, int32_t k) {
  const PlayOutcome outcome = Playability(model, set, k);
  if (outcome != PlayOutcome::Started) return outcome;
  TAnimation& a = set.Animations[k];
  a.Playing = true;
  a.Target = 2;
  MoveJointTo(model, a.Joint, a.Locations[1]);
  AimAnimation(set, k, a.Locations[1], a.Locations[2]);
  return outcome;
}

std::string PlayRefusalText(PlayOutcome outcome, const TAnimationList& set, int32_t k) {
  switch (outcome) {
    case PlayOutcome::Started:
      return {};
    case PlayOutcome::NoSuchAnimation:
      return "There is no animation " + std::to_string(k) + " to play.";
    case PlayOutcome::TooFewLocations:
      return "The animation \"" + Latin1ToUtf8(set.Animations[k].Name) +
             "\" has fewer than two locations, so it cannot play.";
    case PlayOutcome::NoSuchJoint:
      return "The animation \"" + Latin1ToUtf8(set.Animations[k].Name) + "\" moves joint " +
             std::to_string(set.Animations[k].Joint) +
             ", which the model does not have, so it cannot play.";
  }
  return {};
}

void StopAnimation(TMorvObject& model, TAnimationList& set, int32_t k) {
  if (Playability(model, set, k) == PlayOutcome::NoSuchAnimation) return;
  TAnimation& a = set.Animations[k];
  a.Playing = false;
  // An animation too short to play still has a first location to return its joint to.
  const bool hasFirst = a.LocationCount >= 1 && a.LocationCount <= MaxLocations;
  if (hasFirst && JointInModel(model, a.Joint)) MoveJointTo(model, a.Joint, a.Locations[1]);
}

void HaltAnimations(TAnimationList& set) {
  for (int32_t k = 1; k <= MaxAnimations; ++k) set.Animations[k].Playing = false;
}

std::string PlayingList(const TAnimationList& set) {
  std::string list = "{";
  const int32_t count = set.Count < MaxAnimations ? set.Count : MaxAnimations;
  for (int32_t k = 1; k <= count; ++k) {
    if (set.Animations[k].Playing) list += std::to_string(k) + " ";
  }
  return list + "}";
}

}  // namespace morv
