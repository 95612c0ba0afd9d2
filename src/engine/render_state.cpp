// The main render state, and the names the program has always used for its members.
#include "engine/render_state.h"

#include "engine/renderer.h"
#include "engine/vector_maths.h"

namespace morv {

TRenderState::TRenderState() {
  for (int32_t i = 1; i <= MaxRenderPoints; ++i) {
    ScreenPoints[i] = {View.ViewCentreX, View.ViewCentreY};
  }
}

TRenderState MainRenderState;

// References to members of a namespace-scope object are constant-initialised: they are usable
// from the first instruction, whatever order the objects of the program are constructed in.
constinit TMorvObject& SceneObject = MainRenderState.SceneObject;

constinit int32_t& ViewCentreX = MainRenderState.View.ViewCentreX;
constinit int32_t& ViewCentreY = MainRenderState.View.ViewCentreY;
constinit int32_t& ViewDistance = MainRenderState.View.ViewDistance;
constinit int32_t& ViewScale = MainRenderState.View.ViewScale;
constinit TPoint3D& LightVector = MainRenderState.View.LightVector;
constinit int32_t& BackgroundColour = MainRenderState.View.BackgroundColour;
constinit int32_t& TargetWidth = MainRenderState.View.TargetWidth;
constinit int32_t& TargetHeight = MainRenderState.View.TargetHeight;

constinit TVector3D& NormalVector = MainRenderState.NormalVector;

constinit OneBasedArray<TPoint3D, MaxControls>& RotatedControls = MainRenderState.RotatedControls;
constinit OneBasedArray<TPoint3D, MaxRenderPoints>& RenderPoints = MainRenderState.RenderPoints;
constinit OneBasedArray<TRenderPolygon, MaxRenderPolygons>& RenderPolygons =
    MainRenderState.RenderPolygons;
constinit OneBasedArray<TRenderPolygon, MaxRenderPolygons>& VisiblePolygons =
    MainRenderState.VisiblePolygons;
constinit OneBasedArray<TScreenPoint, MaxRenderPoints>& ScreenPoints = MainRenderState.ScreenPoints;
constinit int32_t& PointCount = MainRenderState.PointCount;
constinit int32_t& PolygonCount = MainRenderState.PolygonCount;
constinit int32_t& VisibleCount = MainRenderState.VisibleCount;

constinit int32_t& RenderAngleX = MainRenderState.RenderAngleX;
constinit int32_t& RenderAngleY = MainRenderState.RenderAngleY;
constinit int32_t& RenderAngleZ = MainRenderState.RenderAngleZ;
constinit TRenderCanvas*& TargetCanvas = MainRenderState.TargetCanvas;

}  // namespace morv
