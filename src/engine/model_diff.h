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
struct TSlot {
  int32_t Index = 0;
  T Value;
};

// A joint's mass and place, which moves change, apart from its references, which they do not.
struct TJointPlace {
  int32_t Mass = 0;
  TControlVertex Position;
  friend bool operator==(const TJointPlace&, const TJointPlace&) = default;
};

struct TJointRefs {
  int32_t RefCount = 0;
  OneBasedArray<int32_t, MaxJointRefs> ControlRefs;
  friend bool operator==(const TJointRefs&, const TJointRefs&) = default;
};

// The parts of the model an edit changed, each with the value it has at the other end of the edit
// from the model's: made from the states before and after, a difference holds the values before.
// Exchanged with the model it takes the model to the other end and keeps the values it replaced,
// so one difference takes its edit back and brings it again in turn, holding each value once.
// The arrays are compared slot by slot over their whole capacity, so what lies past a count comes
// back too and the model returns exactly. The joints' velocity and acceleration are the
// mechanics' running state and never part of a difference.
struct TModelDiff {
  std::optional<std::string> Name;
  std::optional<std::string> Owner;
  std::optional<std::string> Password;
  std::optional<bool> Locked;
  std::optional<int32_t> ControlCount;
  std::optional<int32_t> PatchCount;
  std::optional<int32_t> JointCount;
  std::vector<TSlot<TControlVertex>> Controls;
  std::vector<TSlot<TBezierPatch>> Patches;
  std::vector<TSlot<TJointPlace>> JointPlaces;
  std::vector<TSlot<TJointRefs>> JointRefs;

  bool Empty() const;
  // The memory the difference holds, its own record included.
  std::size_t Bytes() const;
};

TModelDiff DiffModels(const TMorvObject& before, const TMorvObject& after);

// Takes the model to the difference's other end, which must be where the model is not; the
// difference then holds the end the model left.
void Exchange(TMorvObject& model, TModelDiff& diff);

// Makes `earlier`, the difference from a state a to a state b, the difference from a to c, given
// `later`, the difference from b to c: a part only `later` covers joins with its value at b,
// which was its value at a as well.
void Combine(TModelDiff& earlier, TModelDiff later);

// Copies every part the difference covers from `model` into `mirror`, which stood where the model
// stood before its last exchange or edit.
void CopyCovered(TMorvObject& mirror, const TMorvObject& model, const TModelDiff& diff);

// True when the two hold the same model as a model file stores it: texts, lock, and each list up
// to its count. What lies past a count and the mechanics' motion do not count.
bool SameModel(const TMorvObject& a, const TMorvObject& b);

}  // namespace morv
