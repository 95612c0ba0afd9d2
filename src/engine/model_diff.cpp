// The difference of two states of a model: what an edit changed, enough to take it back or again.
#include "engine/model_diff.h"

#include <utility>

namespace morv {

namespace {

TJointPlace PlaceOf(const TJoint& joint) { return {joint.Mass, joint.Position}; }

TJointRefs RefsOf(const TJoint& joint) { return {joint.RefCount, joint.ControlRefs}; }

bool SamePlace(const TJoint& a, const TJoint& b) {
  return a.Mass == b.Mass && a.Position == b.Position;
}

bool SameRefs(const TJoint& a, const TJoint& b) {
  return a.RefCount == b.RefCount && a.ControlRefs == b.ControlRefs;
}

template <typename T>
void Compare(std::optional<T>& kept, const T& before, const T& after) {
  if (!(before == after)) kept = before;
}

// `read` takes what a difference keeps of an entry, `same` compares entries without copying them.
template <typename T, typename Item, int32_t N, typename Read, typename Same>
void CompareSlots(std::vector<TSlot<T>>& slots, const OneBasedArray<Item, N>& before,
                  const OneBasedArray<Item, N>& after, Read read, Same same) {
  for (int32_t i = 1; i <= N; ++i) {
    if (!same(before[i], after[i])) slots.push_back({i, read(before[i])});
  }
  // Most edits touch a few slots; a difference keeps no spare room for the rest of its life.
  slots.shrink_to_fit();
}

template <typename T>
void Swap(T& value, std::optional<T>& kept) {
  if (kept) std::swap(value, *kept);
}

template <typename T, typename Item, int32_t N, typename Exchange>
void SwapSlots(OneBasedArray<Item, N>& items, std::vector<TSlot<T>>& slots, Exchange exchange) {
  for (TSlot<T>& slot : slots) exchange(items[slot.Index], slot.Value);
}

// Both lists run by index; of a slot in both, the earlier value stays.
template <typename T>
void CombineSlots(std::vector<TSlot<T>>& earlier, std::vector<TSlot<T>>& later) {
  if (later.empty()) return;
  std::vector<TSlot<T>> combined;
  combined.reserve(earlier.size() + later.size());
  auto e = earlier.begin();
  auto l = later.begin();
  while (e != earlier.end() || l != later.end()) {
    if (l == later.end() || (e != earlier.end() && e->Index <= l->Index)) {
      if (l != later.end() && l->Index == e->Index) ++l;
      combined.push_back(std::move(*e++));
    } else {
      combined.push_back(std::move(*l++));
    }
  }
  combined.shrink_to_fit();
  earlier = std::move(combined);
}

template <typename T>
void Copy(T& mirror, const T& model, const std::optional<T>& kept) {
  if (kept) mirror = model;
}

template <typename T>
std::size_t HeldBytes(const std::vector<T>& items) {
  return items.capacity() * sizeof(T);
}

std::size_t HeldBytes(const std::optional<std::string>& text) {
  // Short texts sit inside the string itself.
  return text && text->capacity() > std::string().capacity() ? text->capacity() + 1 : 0;
}

// Each part of the model that is one value, with the place a difference keeps it in.
template <typename Visit>
void EachSinglePart(Visit visit) {
  visit(&TMorvObject::Name, &TModelDiff::Name);
  visit(&TMorvObject::Owner, &TModelDiff::Owner);
  visit(&TMorvObject::Password, &TModelDiff::Password);
  visit(&TMorvObject::Locked, &TModelDiff::Locked);
  visit(&TMorvObject::ControlCount, &TModelDiff::ControlCount);
  visit(&TMorvObject::PatchCount, &TModelDiff::PatchCount);
  visit(&TMorvObject::JointCount, &TModelDiff::JointCount);
}

}  // namespace

bool TModelDiff::Empty() const {
  bool kept = false;
  EachSinglePart([&](auto, auto held) { kept = kept || (this->*held).has_value(); });
  return !kept && Controls.empty() && Patches.empty() && JointPlaces.empty() && JointRefs.empty();
}

std::size_t TModelDiff::Bytes() const {
  return sizeof(TModelDiff) + HeldBytes(Name) + HeldBytes(Owner) + HeldBytes(Password) +
         HeldBytes(Controls) + HeldBytes(Patches) + HeldBytes(JointPlaces) + HeldBytes(JointRefs);
}

TModelDiff DiffModels(const TMorvObject& before, const TMorvObject& after) {
  TModelDiff diff;
  EachSinglePart([&](auto part, auto held) { Compare(diff.*held, before.*part, after.*part); });
  const auto copy = [](const auto& item) { return item; };
  const auto equal = [](const auto& a, const auto& b) { return a == b; };
  CompareSlots(diff.Controls, before.Controls, after.Controls, copy, equal);
  CompareSlots(diff.Patches, before.Patches, after.Patches, copy, equal);
  CompareSlots(diff.JointPlaces, before.Joints, after.Joints, PlaceOf, SamePlace);
  CompareSlots(diff.JointRefs, before.Joints, after.Joints, RefsOf, SameRefs);
  return diff;
}

void Exchange(TMorvObject& model, TModelDiff& diff) {
  EachSinglePart([&](auto part, auto held) { Swap(model.*part, diff.*held); });
  const auto swap = [](auto& item, auto& kept) { std::swap(item, kept); };
  SwapSlots(model.Controls, diff.Controls, swap);
  SwapSlots(model.Patches, diff.Patches, swap);
  SwapSlots(model.Joints, diff.JointPlaces, [](TJoint& joint, TJointPlace& kept) {
    std::swap(joint.Mass, kept.Mass);
    std::swap(joint.Position, kept.Position);
  });
  SwapSlots(model.Joints, diff.JointRefs, [](TJoint& joint, TJointRefs& kept) {
    std::swap(joint.RefCount, kept.RefCount);
    std::swap(joint.ControlRefs, kept.ControlRefs);
  });
}

void Combine(TModelDiff& earlier, TModelDiff later) {
  EachSinglePart([&](auto, auto held) {
    if (!(earlier.*held) && (later.*held)) earlier.*held = std::move(later.*held);
  });
  CombineSlots(earlier.Controls, later.Controls);
  CombineSlots(earlier.Patches, later.Patches);
  CombineSlots(earlier.JointPlaces, later.JointPlaces);
  CombineSlots(earlier.JointRefs, later.JointRefs);
}

void CopyCovered(TMorvObject& mirror, const TMorvObject& model, const TModelDiff& diff) {
  EachSinglePart([&](auto part, auto held) { Copy(mirror.*part, model.*part, diff.*held); });
  for (const auto& slot : diff.Controls) mirror.Controls[slot.Index] = model.Controls[slot.Index];
  for (const auto& slot : diff.Patches) mirror.Patches[slot.Index] = model.Patches[slot.Index];
  for (const auto& slot : diff.JointPlaces) {
    mirror.Joints[slot.Index].Mass = model.Joints[slot.Index].Mass;
    mirror.Joints[slot.Index].Position = model.Joints[slot.Index].Position;
  }
  for (const auto& slot : diff.JointRefs) {
    mirror.Joints[slot.Index].RefCount = model.Joints[slot.Index].RefCount;
    mirror.Joints[slot.Index].ControlRefs = model.Joints[slot.Index].ControlRefs;
  }
}

bool SameModel(const TMorvObject& a, const TMorvObject& b) {
  if (a.Name != b.Name || a.Owner != b.Owner || a.Password != b.Password || a.Locked != b.Locked ||
      a.ControlCount != b.ControlCount || a.PatchCount != b.PatchCount ||
      a.JointCount != b.JointCount) {
    return false;
  }
  for (int32_t i = 1; i <= a.ControlCount; ++i) {
    if (!(a.Controls[i] == b.Controls[i])) return false;
  }
  for (int32_t i = 1; i <= a.PatchCount; ++i) {
    if (!(a.Patches[i] == b.Patches[i])) return false;
  }
  for (int32_t i = 1; i <= a.JointCount; ++i) {
    const TJoint& x = a.Joints[i];
    const TJoint& y = b.Joints[i];
    if (x.RefCount != y.RefCount || !SamePlace(x, y)) return false;
    for (int32_t k = 1; k <= x.RefCount && k <= MaxJointRefs; ++k) {
      if (x.ControlRefs[k] != y.ControlRefs[k]) return false;
    }
  }
  return true;
}

}  // namespace morv
