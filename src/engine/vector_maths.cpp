// Rotation by whole degrees, Bézier subdivision, polygon normals, shading and projection.
#include "engine/vector_maths.h"

#include <cmath>

#include "engine/angle_tables.h"
#include "engine/render_state.h"
#include "engine/rounding.h"

namespace morv {

namespace {

int32_t TableIndex(int32_t angle) { return angle < 0 ? 0 : (angle > 360 ? 360 : angle); }

TVector3D Mid(const TVector3D& a, const TVector3D& b) {
  return {(a.X + b.X) / 2, (a.Y + b.Y) / 2, (a.Z + b.Z) / 2};
}

struct Normal {
  __int128 x, y, z;
};

// (B - A) x (A - C) in exact integers: 33-bit differences, 66-bit products.
Normal CrossProduct(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c) {
  const int64_t bax = int64_t{b.X} - a.X, bay = int64_t{b.Y} - a.Y, baz = int64_t{b.Z} - a.Z;
  const int64_t acx = int64_t{a.X} - c.X, acy = int64_t{a.Y} - c.Y, acz = int64_t{a.Z} - c.Z;
  return {__int128{bay} * acz - __int128{baz} * acy, __int128{baz} * acx - __int128{bax} * acz,
          __int128{bax} * acy - __int128{bay} * acx};
}

}  // namespace

void RotatePoint(TPoint3D& p, int32_t angleX, int32_t angleY, int32_t angleZ) {
  double c = CosTable[TableIndex(angleZ)];
  double s = SinTable[TableIndex(angleZ)];
  const int32_t x1 = RoundToInt(p.X * c - p.Y * s);
  const int32_t y1 = RoundToInt(p.X * s + p.Y * c);
  c = CosTable[TableIndex(angleX)];
  s = SinTable[TableIndex(angleX)];
  const int32_t y2 = RoundToInt(y1 * c - p.Z * s);
  const int32_t z2 = RoundToInt(y1 * s + p.Z * c);
  c = CosTable[TableIndex(angleY)];
  s = SinTable[TableIndex(angleY)];
  p.X = RoundToInt(x1 * c - z2 * s);
  p.Z = RoundToInt(x1 * s + z2 * c);
  p.Y = y2;
}

TVector3D ToVector(const TPoint3D& p) {
  return {static_cast<double>(p.X), static_cast<double>(p.Y), static_cast<double>(p.Z)};
}

TPoint3D RoundVector(const TVector3D& v) {
  return {RoundToInt(v.X), RoundToInt(v.Y), RoundToInt(v.Z)};
}

std::array<TVector3D, 8> SubdivideBezier(const TVector3D& p0, const TVector3D& p1,
                                         const TVector3D& p2, const TVector3D& p3) {
  const TVector3D p01 = Mid(p0, p1);
  const TVector3D p12 = Mid(p1, p2);
  const TVector3D p23 = Mid(p2, p3);
  const TVector3D p012 = Mid(p01, p12);
  const TVector3D p123 = Mid(p12, p23);
  const TVector3D p0123 = Mid(p012, p123);
  return {p0, p01, p012, p0123, p123, p23, p3, p12};
}

std::optional<TVector3D> NormaliseLight(const TPoint3D& light) {
  const int64_t squares =
      int64_t{light.X} * light.X + int64_t{light.Y} * light.Y + int64_t{light.Z} * light.Z;
  if (squares == 0) return std::nullopt;
  const double length = std::sqrt(static_cast<double>(squares));
  return TVector3D{light.X / length, light.Y / length, light.Z / length};
}

std::optional<TVector3D> NormaliseLight() {
  return NormaliseLight(MainRenderState.View.LightVector);
}

int64_t FacingValue(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c) {
  const __int128 z = CrossProduct(a, b, c).z;
  if (z > INT64_MAX) return INT64_MAX;
  if (z < INT64_MIN) return INT64_MIN;
  return static_cast<int64_t>(z);
}

void ComputeNormal(TVector3D& normal, const TPoint3D& a, const TPoint3D& b, const TPoint3D& c) {
  const Normal n = CrossProduct(a, b, c);
  const double x = static_cast<double>(n.x);
  const double y = static_cast<double>(n.y);
  const double z = static_cast<double>(n.z);
  const double length = std::sqrt(x * x + y * y + z * z);
  normal = length > 0 ? TVector3D{x / length, y / length, z / length} : TVector3D{};
}

void ComputeNormal(const TPoint3D& a, const TPoint3D& b, const TPoint3D& c) {
  ComputeNormal(MainRenderState.NormalVector, a, b, c);
}

double ShadeFactor(const TVector3D& normal, const TVector3D& light) {
  const double d = normal.X * light.X + normal.Y * light.Y + normal.Z * light.Z;
  return (d >= 0.0 && d <= 1.0) ? d : 0.0;
}

double ShadeFactor(const TVector3D& light) {
  return ShadeFactor(MainRenderState.NormalVector, light);
}

bool ProjectPoint(const TViewParameters& view, const TPoint3D& p, TScreenPoint& s) {
  const int64_t w = int64_t{p.Z} + view.ViewDistance;
  if (w == 0) return false;
  const double x = static_cast<double>(int64_t{p.X} * view.ViewScale) / static_cast<double>(w);
  const double y = static_cast<double>(int64_t{p.Y} * view.ViewScale) / static_cast<double>(w);
  s.X = RoundToInt(static_cast<double>(RoundToInt(x)) + view.ViewCentreX);
  s.Y = RoundToInt(view.ViewCentreY - static_cast<double>(RoundToInt(y)));
  return true;
}

bool ProjectPoint(const TPoint3D& p, TScreenPoint& s) {
  return ProjectPoint(MainRenderState.View, p, s);
}

}  // namespace morv
