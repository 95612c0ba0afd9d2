// Telling apart the lines of a plane picture by their end pixels, so each one is drawn once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace morv {

// A pixel of a plane picture, which may lie far outside it.
struct TPixelPoint {
  int64_t X = 0;
  int64_t Y = 0;
};

// Numbers the distinct points of elements 0..count-1 from 0, elements at the same pixel sharing a
// number: lines whose ends share their pixels are the same line. `pointOf(k)` gives element k's
// pixel and `place(k, number)` receives its number. Returns how many numbers there are.
template <typename PointOf, typename Place>
int32_t NumberPlaces(int32_t count, PointOf pointOf, Place place) {
  std::vector<std::pair<std::pair<int64_t, int64_t>, int32_t>> keys;
  keys.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int32_t k = 0; k < count; ++k) {
    const TPixelPoint p = pointOf(k);
    keys.push_back({{p.X, p.Y}, k});
  }
  std::sort(keys.begin(), keys.end());
  int32_t places = 0;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i > 0 && keys[i].first != keys[i - 1].first) ++places;
    place(keys[i].second, places);
  }
  return keys.empty() ? 0 : places + 1;
}

// Which (from, to) pairs of place numbers have had their line drawn.
class TDrawnPairs {
 public:
  TDrawnPairs(int32_t froms, int32_t tos)
      : tos_(static_cast<std::size_t>(tos)),
        bits_((static_cast<std::size_t>(froms) * tos_ + 63) / 64) {}

  // True the first time a pair is offered.
  bool First(int32_t from, int32_t to) {
    const std::size_t bit = static_cast<std::size_t>(from) * tos_ + static_cast<std::size_t>(to);
    uint64_t& word = bits_[bit / 64];
    const uint64_t mask = uint64_t{1} << (bit % 64);
    if ((word & mask) != 0) return false;
    word |= mask;
    return true;
  }

 private:
  std::size_t tos_;
  std::vector<uint64_t> bits_;
};

}  // namespace morv
