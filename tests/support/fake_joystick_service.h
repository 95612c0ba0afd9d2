// A joystick service whose devices a test plugs in and whose notifications it sends by hand.
#pragma once

#include <array>
#include <optional>

#include "input/joystick_service.h"

namespace morv::test {

class FakeJoystickService : public JoystickService {
 public:
  struct Capture {
    JoystickSink* sink = nullptr;
    int periodMs = 0;
    bool changeOnly = false;
  };

  // What each joystick reports; no device until a test plugs one in.
  std::array<std::optional<JoystickCaps>, 2> devices;
  std::array<std::optional<Capture>, 2> captures;
  std::array<std::optional<int32_t>, 2> thresholds;
  int captureRequests = 0;
  int releases = 0;

  bool SetCapture(JoystickSink& sink, int joystick, int periodMs, bool changeOnly) override {
    ++captureRequests;
    if (!devices.at(joystick) || captures.at(joystick)) return false;
    captures.at(joystick) = Capture{&sink, periodMs, changeOnly};
    return true;
  }
  void ReleaseCapture(int joystick) override {
    ++releases;
    captures.at(joystick).reset();
  }
  void SetThreshold(int joystick, int32_t threshold) override {
    thresholds.at(joystick) = threshold;
  }
  std::optional<JoystickCaps> DeviceCaps(int joystick) override { return devices.at(joystick); }

  // Notifications go to the capturing sink only, as the real service's do.
  void Move(int joystick, uint16_t x, uint16_t y, uint16_t buttons = 0) {
    if (captures.at(joystick)) captures.at(joystick)->sink->StickMoved(x, y, buttons);
  }
  void MoveZ(int joystick, uint16_t z, uint16_t buttons = 0) {
    if (captures.at(joystick)) captures.at(joystick)->sink->ZMoved(z, buttons);
  }
  void Buttons(int joystick, uint16_t changed, uint16_t pressed, uint16_t x, uint16_t y) {
    if (captures.at(joystick)) captures.at(joystick)->sink->ButtonsChanged(changed, pressed, x, y);
  }
  // The device goes away; a capture of it ends and its sink is told, as the real service does.
  void Unplug(int joystick) {
    devices.at(joystick).reset();
    if (!captures.at(joystick)) return;
    JoystickSink* const sink = captures.at(joystick)->sink;
    captures.at(joystick).reset();
    sink->CaptureLost();
  }
};

}  // namespace morv::test
