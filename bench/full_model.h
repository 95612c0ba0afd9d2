// A model filled to capacity, the largest file the editor can produce.
#pragma once

#include "engine/model.h"

namespace morv::bench {

// 1000 control vertices, 1000 patches and 1000 joints of 100 references each.
inline TMorvObject FullCapacityModel() {
  TMorvObject m;
  m.Name = "Full";
  m.Owner = "Bench";
  m.Password = "secret";
  m.ControlCount = MaxControls;
  for (int32_t i = 1; i <= MaxControls; ++i) m.Controls[i] = {i % 200 - 100, -i % 97, i * 7 % 150};
  m.PatchCount = MaxPatches;
  for (int32_t i = 1; i <= MaxPatches; ++i) {
    for (int32_t k = 1; k <= PatchControlCount; ++k) {
      m.Patches[i].ControlIndex[k] = (i + k * 13) % MaxControls + 1;
    }
    m.Patches[i].Colour = (i * 7919) & 0xFFFFFF;
  }
  m.JointCount = MaxJoints;
  for (int32_t i = 1; i <= MaxJoints; ++i) {
    TJoint& j = m.Joints[i];
    j.Position = {i % 50, -i % 60, i % 70};
    j.Mass = i;
    j.RefCount = MaxJointRefs;
    for (int32_t k = 1; k <= MaxJointRefs; ++k) j.ControlRefs[k] = (i * k) % MaxControls + 1;
  }
  return m;
}

}  // namespace morv::bench
