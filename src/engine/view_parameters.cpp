// The parameters of the 3D view and their start values.
#include "engine/view_parameters.h"

namespace morv {

int32_t ViewCentreX = 180;
int32_t ViewCentreY = 180;
int32_t ViewDistance = -200;
int32_t ViewScale = 200;
TPoint3D LightVector{200, 0, -70};
int32_t BackgroundColour = 32768;
int32_t TargetWidth = 360;
int32_t TargetHeight = 360;

void SetStartViewParameters() {
  ViewCentreX = 180;
  ViewCentreY = 180;
  ViewDistance = -200;
  ViewScale = 200;
  LightVector = {200, 0, -70};
  BackgroundColour = 32768;
  TargetWidth = 360;
  TargetHeight = 360;
}

}  // namespace morv
