// Integer and floating 3D points, and screen points of the 3D view.
#pragma once

#include <cstdint>

namespace morv {

struct TPoint3D {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Z = 0;
  friend bool operator==(const TPoint3D&, const TPoint3D&) = default;
};

struct TVector3D {
  double X = 0;
  double Y = 0;
  double Z = 0;
  friend bool operator==(const TVector3D&, const TVector3D&) = default;
};

// x grows to the right and y downward, from the top-left corner of the view image.
struct TScreenPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TScreenPoint&, const TScreenPoint&) = default;
};

}  // namespace morv
