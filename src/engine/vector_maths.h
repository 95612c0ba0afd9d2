// Rotation by whole degrees, Bézier subdivision, polygon normals, shading and projection.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "engine/vector_types.h"
#include "engine/view_parameters.h"

namespace morv {

// The unit normal of the polygon last given to ComputeNormal without a normal to set: the main
// render state's.
extern TVector3D& NormalVector;

// Rotates about z, then x, then y, rounding to integers after each of the three steps. Angles are
// whole degrees 0..360 (values outside are brought into that range).
void RotatePoint(TPoint3D& p, int32_t angleX, int32_t angleY, int32_t angleZ);

TVector3D ToVector(const TPoint3D& p);
TPoint3D RoundVector(const TVector3D& v);

// One de Casteljau split at t = 1/2: R0..R3 the first half, R3..R6 the second, R7 the midpoint
// of P1 and P2.
std::array<TVector3D, 8> SubdivideBezier(const TVector3D& p0, const TVector3D& p1,
                                         const TVector3D& p2, const TVector3D& p3);

// The unit direction of `light`, or nothing for a zero light vector.
std::optional<TVector3D> NormaliseLight(const TPoint3D& light);
// The same of the main render state's LightVector.
std::optional<TVector3D> NormaliseLight();

// The z component of (B - A) x (A - C): negative when the polygon faces the viewer. Exact for
// every coordinate; a value beyond 64 bits saturates.
int64_t FacingValue(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c);

// Sets `normal` to the unit normal of the polygon A, B, C (zero for a degenerate one).
void ComputeNormal(TVector3D& normal, const TPoint3D& a, const TPoint3D& b, const TPoint3D& c);
// The same into NormalVector.
void ComputeNormal(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c);

// The Lambert factor of `normal` under the light: 0 where the product lies outside 0..1.
double ShadeFactor(const TVector3D& normal, const TVector3D& light);
// The same of NormalVector.
double ShadeFactor(const TVector3D& light);

// Perspective projection of a view-space point onto the view; false when z + ViewDistance is 0.
bool ProjectPoint(const TViewParameters& view, const TPoint3D& p, TScreenPoint& s);
// The same with the main render state's view.
bool ProjectPoint(const TPoint3D& p, TScreenPoint& s);

}  // namespace morv
