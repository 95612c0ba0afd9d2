// The parameters of the 3D view shared by the renderer and the windows that steer it.
#pragma once

#include <cstdint>

#include "engine/vector_types.h"

namespace morv {

// The values every run starts from: centre (180, 180), distance -200, scale 200, light
// (200, 0, -70), a green background and a 360 x 360 target.
struct TViewParameters {
  int32_t ViewCentreX = 180;
  int32_t ViewCentreY = 180;
  int32_t ViewDistance = -200;  // added to a point's z before the perspective division
  int32_t ViewScale = 200;
  TPoint3D LightVector{200, 0, -70};  // from the light toward the scene, in view space
  int32_t BackgroundColour = 32768;
  int32_t TargetWidth = 360;
  int32_t TargetHeight = 360;
};

// The main render state's view parameters, which the windows steer.
extern int32_t& ViewCentreX;
extern int32_t& ViewCentreY;
extern int32_t& ViewDistance;
extern int32_t& ViewScale;
extern TPoint3D& LightVector;
extern int32_t& BackgroundColour;
extern int32_t& TargetWidth;
extern int32_t& TargetHeight;

void SetStartViewParameters(TViewParameters& view);
// The main render state's.
void SetStartViewParameters();

}  // namespace morv
