// A fixed-capacity array indexed from 1, as every element list of a model is.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace morv {

template <typename T, int32_t N>
class OneBasedArray {
 public:
  static constexpr int32_t Capacity = N;

  // An index outside 1..N is a programming error or hostile data; it must never reach memory.
  T& operator[](int32_t index) { return items_[Slot(index)]; }
  const T& operator[](int32_t index) const { return items_[Slot(index)]; }

  static constexpr bool Holds(int32_t index) { return index >= 1 && index <= N; }

  friend bool operator==(const OneBasedArray&, const OneBasedArray&) = default;

 private:
  static std::size_t Slot(int32_t index) {
    if (!Holds(index)) {
      throw std::out_of_range("Index " + std::to_string(index) + " lies outside 1.." +
                              std::to_string(N));
    }
    return static_cast<std::size_t>(index - 1);
  }

  std::array<T, N> items_{};
};

}  // namespace morv
