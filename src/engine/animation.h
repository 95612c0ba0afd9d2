// Animation records: one joint travelling through a list of locations, gathered in a set per model.
#pragma once

#include <cstdint>
#include <string>

#include "engine/one_based_array.h"
#include "engine/vector_types.h"

namespace morv {

constexpr int32_t MaxAnimations = 100;
constexpr int32_t MaxLocations = 100;

struct TAnimation {
  std::string Name;
  int32_t Joint = 0;
  int32_t LocationCount = 0;
  OneBasedArray<TPoint3D, MaxLocations> Locations;
  int32_t Speed = 0;
  bool Repeat = false;
  // Playback state, never stored in a file.
  bool Playing = false;
  int32_t Target = 0;
  TVector3D Step;
};

struct TAnimationList {
  std::string ModelName;
  int32_t Count = 0;
  OneBasedArray<TAnimation, MaxAnimations> Animations;
};

extern TAnimationList AnimationSet;

}  // namespace morv
