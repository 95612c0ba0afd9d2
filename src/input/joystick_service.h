// The platform's joystick service as the joystick component sees it: capture, release,
// threshold, device capabilities, and the notifications a capture delivers.
#pragma once

#include <cstdint>
#include <optional>

namespace morv {

// Raw readings run from 0 to 65535 on every axis; button 1 is bit 0 up to button 4 in bit 3.
struct JoystickCaps {
  int32_t Xmin = 0;
  int32_t Xmax = 65535;
  int32_t Ymin = 0;
  int32_t Ymax = 65535;
  // Both 0 when the device has no Z axis.
  int32_t Zmin = 0;
  int32_t Zmax = 65535;
  int32_t NumButtons = 0;
  int32_t PeriodMin = 10;
  int32_t PeriodMax = 1000;
};

// What a capture delivers, always on the user-interface thread.
class JoystickSink {
 public:
  virtual ~JoystickSink() = default;
  virtual void StickMoved(uint16_t x, uint16_t y, uint16_t buttons) = 0;
  virtual void ZMoved(uint16_t z, uint16_t buttons) = 0;
  // `changed` marks the buttons whose state changed, `pressed` those held now.
  virtual void ButtonsChanged(uint16_t changed, uint16_t pressed, uint16_t x, uint16_t y) = 0;
  // The device went away: the capture has ended without a release, and nothing more comes.
  virtual void CaptureLost() = 0;
};

class JoystickService {
 public:
  virtual ~JoystickService() = default;

  // Joystick 0 is the first device, 1 the second. With `changeOnly` a stick or Z move is delivered
  // only when a reading moved beyond the threshold; otherwise one of each every `periodMs`.
  // False when there is no such device or it is captured already.
  virtual bool SetCapture(JoystickSink& sink, int joystick, int periodMs, bool changeOnly) = 0;
  // Ends the capture of that joystick, if any; the sink is not told.
  virtual void ReleaseCapture(int joystick) = 0;
  // The change-only threshold in raw units, kept for the joystick whether captured or not.
  virtual void SetThreshold(int joystick, int32_t threshold) = 0;
  // Nothing when there is no such device.
  virtual std::optional<JoystickCaps> DeviceCaps(int joystick) = 0;
};

}  // namespace morv
