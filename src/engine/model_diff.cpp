// The difference of two states of a model: what an edit changed, enough to take it back or again.
#include "engine/model_diff.h"

namespace morv {

namespace {

TJointShape ShapeOf(const TJoint& joint) {
  return {joint.RefCount, joint.ControlRefs, joint.Mass, joint.Position};
}

void SetShape(TJoint& joint, const TJointShape& shape) {
  joint.RefCount = shape.RefCount;
  joint.ControlRefs = shape.ControlRefs;
  joint.Mass = shape.Mass;
  joint.Position = shape.Position;
}

template <typename T>
void Compare(std::optional<TChange<T>>& change, const T& before, const T& after) {
  if (!(before == after)) change = TChange<T>{before, after};
}

bool SameShape(const TJoint& a, const TJoint& b) {
  return a.RefCount == b.RefCount && a.Mass == b.Mass && a.Position == b.Position &&
         a.ControlRefs == b.ControlRefs;
}

// `read` takes what a difference keeps of an entry, `same` compares entries without copying them.
template <typename T, typename Item, int32_t N, typename Read, typename Same>
void CompareSlots(std::vector<TSlotChange<T>>& changes, const OneBasedArray<Item, N>& before,
                  const OneBasedArray<Item, N>& after, Read read, Same same) {
  for (int32_t i = 1; i <= N; ++i) {
    if (!same(before[i], after[i])) changes.push_back({i, read(before[i]), read(after[i])});
  }
}

template <typename T>
std::size_t HeldBytes(const std::vector<T>& items) {
  return items.capacity() * sizeof(T);
}

std::size_t HeldBytes(const std::optional<TChange<std::string>>& change) {
  if (!change) return 0;
  // Short texts sit inside the string itself.
  const auto outside = [](const std::string& s) {
    return s.capacity() > std::string().capacity() ? s.capacity() + 1 : 0;
  };
  return outside(change->Before) + outside(change->After);
}

// `pick` chooses the end of each change to put into the model.
template <typename Pick>
void Apply(TMorvObject& model, const TModelDiff& diff, Pick pick) {
  if (diff.Name) model.Name = pick(*diff.Name);
  if (diff.Owner) model.Owner = pick(*diff.Owner);
  if (diff.Password) model.Password = pick(*diff.Password);
  if (diff.Locked) model.Locked = pick(*diff.Locked);
  if (diff.ControlCount) model.ControlCount = pick(*diff.ControlCount);
  if (diff.PatchCount) model.PatchCount = pick(*diff.PatchCount);
  if (diff.JointCount) model.JointCount = pick(*diff.JointCount);
  for (const auto& c : diff.Controls) model.Controls[c.Index] = pick(c);
  for (const auto& c : diff.Patches) model.Patches[c.Index] = pick(c);
  for (const auto& c : diff.Joints) SetShape(model.Joints[c.Index], pick(c));
}

}  // namespace

bool TModelDiff::Empty() const {
  return !Name && !Owner && !Password && !Locked && !ControlCount && !PatchCount && !JointCount &&
         Controls.empty() && Patches.empty() && Joints.empty();
}

std::size_t TModelDiff::Bytes() const {
  return sizeof(TModelDiff) + HeldBytes(Name) + HeldBytes(Owner) + HeldBytes(Password) +
         HeldBytes(Controls) + HeldBytes(Patches) + HeldBytes(Joints);
}

TModelDiff DiffModels(const TMorvObject& before, const TMorvObject& after) {
  TModelDiff diff;
  Compare(diff.Name, before.Name, after.Name);
  Compare(diff.Owner, before.Owner, after.Owner);
  Compare(diff.Password, before.Password, after.Password);
  Compare(diff.Locked, before.Locked, after.Locked);
  Compare(diff.ControlCount, before.ControlCount, after.ControlCount);
  Compare(diff.PatchCount, before.PatchCount, after.PatchCount);
  Compare(diff.JointCount, before.JointCount, after.JointCount);
  const auto copy = [](const auto& item) { return item; };
  const auto equal = [](const auto& a, const auto& b) { return a == b; };
  CompareSlots<TControlVertex>(diff.Controls, before.Controls, after.Controls, copy, equal);
  CompareSlots<TBezierPatch>(diff.Patches, before.Patches, after.Patches, copy, equal);
  CompareSlots<TJointShape>(diff.Joints, before.Joints, after.Joints, ShapeOf, SameShape);
  // Most edits touch a few slots; a difference keeps no spare room for the rest of its life.
  diff.Controls.shrink_to_fit();
  diff.Patches.shrink_to_fit();
  diff.Joints.shrink_to_fit();
  return diff;
}

void ApplyBefore(TMorvObject& model, const TModelDiff& diff) {
  Apply(
      model, diff, [](const auto& change) -> const auto& { return change.Before; });
}

void ApplyAfter(TMorvObject& model, const TModelDiff& diff) {
  Apply(
      model, diff, [](const auto& change) -> const auto& { return change.After; });
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
    if (x.RefCount != y.RefCount || x.Mass != y.Mass || !(x.Position == y.Position)) return false;
    for (int32_t k = 1; k <= x.RefCount && k <= MaxJointRefs; ++k) {
      if (x.ControlRefs[k] != y.ControlRefs[k]) return false;
    }
  }
  return true;
}

}  // namespace morv
