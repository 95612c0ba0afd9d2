// The parameters of the 3D view shared by the renderer and the windows that steer it.
#pragma once

#include <cstdint>

#include "engine/vector_types.h"

namespace morv {

extern int32_t ViewCentreX;
extern int32_t ViewCentreY;
extern int32_t ViewDistance;  // added to a point's z before the perspective division
extern int32_t ViewScale;
extern TPoint3D LightVector;  // from the light toward the scene, in view space
extern int32_t BackgroundColour;
extern int32_t TargetWidth;
extern int32_t TargetHeight;

// The values every run starts from: centre (180, 180), distance -200, scale 200, light
// (200, 0, -70), a green background and a 360 x 360 target.
void SetStartViewParameters();

}  // namespace morv
