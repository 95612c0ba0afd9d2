// A joystick service for benchmarks: there is no device, so every capture is refused.
#pragma once

#include "input/joystick_service.h"

namespace morv::bench {

inline JoystickService& NoJoystick() {
  struct Absent : JoystickService {
    bool SetCapture(JoystickSink&, int, int, bool) override { return false; }
    void ReleaseCapture(int) override {}
    void SetThreshold(int, int32_t) override {}
    std::optional<JoystickCaps> DeviceCaps(int) override { return std::nullopt; }
  };
  static Absent service;
  return service;
}

}  // namespace morv::bench
