// The random seed of a fault test: printed, and taken from MORV_FAULT_SEED to repeat a run.
#pragma once

#include <gtest/gtest.h>
#include <QtGlobal>

#include <cstdint>
#include <iostream>
#include <random>
#include <string>

namespace morv::test {

inline std::uint32_t FaultSeed() {
  bool given = false;
  const auto value =
      static_cast<std::uint32_t>(qEnvironmentVariableIntValue("MORV_FAULT_SEED", &given));
  const std::uint32_t seed = given ? value : std::random_device{}();
  std::cout << "random seed " << seed << " (MORV_FAULT_SEED=" << seed << " repeats this run)"
            << std::endl;
  ::testing::Test::RecordProperty("seed", std::to_string(seed));
  return seed;
}

}  // namespace morv::test
