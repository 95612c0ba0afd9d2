// The joystick service over SDL's joystick subsystem, read on the user-interface thread from a
// timer at each capture's period.
#pragma once

#include <QObject>
#include <QTimer>
#include <array>
#include <memory>

#include "input/joystick_service.h"

struct _SDL_Joystick;

namespace morv {

class SdlJoystickService : public QObject, public JoystickService {
 public:
  // SDL is started at the first request; without it every capture is refused.
  explicit SdlJoystickService(QObject* parent = nullptr);
  ~SdlJoystickService() override;

  bool SetCapture(JoystickSink& sink, int joystick, int periodMs, bool changeOnly) override;
  void ReleaseCapture(int joystick) override;
  void SetThreshold(int joystick, int32_t threshold) override;
  std::optional<JoystickCaps> DeviceCaps(int joystick) override;

  // Readings outside this range are brought into it.
  static constexpr int PeriodMin = 10;
  static constexpr int PeriodMax = 1000;

 private:
  struct Reading {
    uint16_t x = 0, y = 0, z = 0, buttons = 0;
  };
  struct Capture {
    JoystickSink* sink = nullptr;
    _SDL_Joystick* device = nullptr;
    bool changeOnly = true;
    bool hasZ = false;
    Reading last;
    // Tells a capture from a later one of the same joystick.
    uint64_t serial = 0;
    // Owned by the service; a released capture's timer is deleted once its tick has returned.
    QTimer* timer = nullptr;
  };

  bool Started();
  void Tick(int joystick);
  static Reading Read(_SDL_Joystick* device, bool hasZ);

  bool started_ = false;
  bool unavailable_ = false;
  bool delivering_ = false;
  uint64_t nextSerial_ = 0;
  std::array<int32_t, 2> thresholds_{0, 0};
  std::array<std::unique_ptr<Capture>, 2> captures_;
};

}  // namespace morv
