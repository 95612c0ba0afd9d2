// The difference of two states of a model: what an edit changed, enough to take it back or again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/model.h"

namespace morv {

template <typename T>
struct TChange {
  T Before;
  T After;
};

template <typename T>
struct TSlotChange {
  int32_t Index = 0;
  T Before;
  T After;
};

// A joint as the user made it: its mass, place and references, without the mechanics' motion.
struct TJointShape {
  int32_t RefCount = 0;
  OneBasedArray<int32_t, MaxJointRefs> ControlRefs;
  int32_t Mass = 0;
  TControlVertex Position;
  friend bool operator==(const TJointShape&, const TJointShape&) = default;
};

// Every part of the model that differs, each with its value before and after. The arrays are
// compared slot by slot over their whole capacity, so applying a difference restores entries past
// a count too, and the model comes back exactly. The joints' velocity and acceleration are the
// mechanics' running state and never part of a difference.
struct TModelDiff {
  std::optional<TChange<std::string>> Name;
  std::optional<TChange<std::string>> Owner;
  std::optional<TChange<std::string>> Password;
  std::optional<TChange<bool>> Locked;
  std::optional<TChange<int32_t>> ControlCount;
  std::optional<TChange<int32_t>> PatchCount;
  std::optional<TChange<int32_t>> JointCount;
  std::vector<TSlotChange<TControlVertex>> Controls;
  std::vector<TSlotChange<TBezierPatch>> Patches;
  std::vector<TSlotChange<TJointShape>> Joints;

  bool Empty() const;
  // The memory the difference holds, its own record included.
  std::size_t Bytes() const;
};

TModelDiff DiffModels(const TMorvObject& before, const TMorvObject& after);

// Puts back the state before the difference, or brings the state after it. Each applies to a
// model in the state at the other end; the joints' velocity and acceleration are left as they are.
void ApplyBefore(TMorvObject& model, const TModelDiff& diff);
void ApplyAfter(TMorvObject& model, const TModelDiff& diff);

// True when the two hold the same model as a model file stores it: texts, lock, and each list up
// to its count. What lies past a count and the mechanics' motion do not count.
bool SameModel(const TMorvObject& a, const TMorvObject& b);

}  // namespace morv
