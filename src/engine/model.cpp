// The joint move shared by dragging, animation and mechanics, and the working model.
#include "engine/model.h"

namespace morv {

TMorvObject CurrentModel;

namespace {

// Two's-complement wrap-around, the arithmetic a 32-bit machine integer gives, without undefined
// behaviour at the limits.
int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

bool JointInModel(const TMorvObject& model, int32_t joint) {
  return joint >= 1 && joint <= model.JointCount && decltype(model.Joints)::Holds(joint);
}

void MoveJoint(TMorvObject& model, int32_t joint, int32_t x, int32_t y, int32_t z) {
  if (!decltype(model.Joints)::Holds(joint)) return;
  TJoint& j = model.Joints[joint];
  const int32_t dx = WrapSub(x, j.Position.X);
  const int32_t dy = WrapSub(y, j.Position.Y);
  const int32_t dz = WrapSub(z, j.Position.Z);
  j.Position = {x, y, z};
  const int32_t refs = j.RefCount < MaxJointRefs ? j.RefCount : MaxJointRefs;
  for (int32_t k = 1; k <= refs; ++k) {
    const int32_t index = j.ControlRefs[k];
    if (!decltype(model.Controls)::Holds(index)) continue;
    TControlVertex& c = model.Controls[index];
    c.X = WrapAdd(c.X, dx);
    c.Y = WrapAdd(c.Y, dy);
    c.Z = WrapAdd(c.Z, dz);
  }
}

}  // namespace morv
