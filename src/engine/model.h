// The model record: control vertices, Bézier patches and joints in fixed 1-based arrays.
#pragma once

#include <cstdint>
#include <string>

#include "engine/one_based_array.h"

namespace morv {

constexpr int32_t MaxControls = 1000;
constexpr int32_t MaxPatches = 1000;
constexpr int32_t MaxJoints = 1000;
constexpr int32_t MaxJointRefs = 100;
constexpr int32_t PatchControlCount = 8;

constexpr int32_t ColourWhite = 16777215;

struct TControlVertex {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Z = 0;
  friend bool operator==(const TControlVertex&, const TControlVertex&) = default;
};

struct TBezierPatch {
  // Entries 1..4 are the first cubic curve in curve order, 5..8 the second.
  OneBasedArray<int32_t, PatchControlCount> ControlIndex;
  int32_t Colour = 0;
  friend bool operator==(const TBezierPatch&, const TBezierPatch&) = default;
};

struct TVelocity3D {
  double X = 0;
  double Y = 0;
  double Z = 0;
  friend bool operator==(const TVelocity3D&, const TVelocity3D&) = default;
};

struct TJoint {
  int32_t RefCount = 0;
  OneBasedArray<int32_t, MaxJointRefs> ControlRefs;
  int32_t Mass = 0;
  TControlVertex Position;
  // Run-time state of the mechanics; never stored in a model file.
  TVelocity3D Velocity;
  TVelocity3D Acceleration;
  friend bool operator==(const TJoint&, const TJoint&) = default;
};

// Texts hold 8-bit characters exactly as a model file stores them.
struct TMorvObject {
  std::string Name;
  std::string Owner;
  std::string Password;
  bool Locked = false;
  int32_t ControlCount = 0;
  OneBasedArray<TControlVertex, MaxControls> Controls;
  int32_t PatchCount = 0;
  OneBasedArray<TBezierPatch, MaxPatches> Patches;
  int32_t JointCount = 0;
  OneBasedArray<TJoint, MaxJoints> Joints;
  friend bool operator==(const TMorvObject&, const TMorvObject&) = default;
};

// Moves joint `joint` to the new position and carries every control vertex it references by the
// same displacement, rigidly. References that name no entry of the Controls array are skipped.
// Coordinates wrap around at the 32-bit limits instead of overflowing.
void MoveJoint(TMorvObject& model, int32_t joint, int32_t x, int32_t y, int32_t z);

// True when `joint` names one of the model's joints, 1..JointCount.
bool JointInModel(const TMorvObject& model, int32_t joint);

// The working model of the whole run, and the 3D view's snapshot of it (the main render state's).
extern TMorvObject CurrentModel;
extern TMorvObject& SceneObject;

}  // namespace morv
