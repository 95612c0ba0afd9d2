// The joystick service over SDL's joystick subsystem, read on the user-interface thread from a
// timer at each capture's period.
#include "input/sdl_joystick_service.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

namespace morv {

namespace {

constexpr int AxisX = 0;
constexpr int AxisY = 1;
// A flight stick's throttle, or a game pad's second stick or trigger.
constexpr int AxisZ = 2;
constexpr int ButtonBits = 4;

bool ValidJoystick(int joystick) { return joystick == 0 || joystick == 1; }

// SDL's signed readings shifted to the unsigned range the component expects, centre 32768.
uint16_t Unsigned(Sint16 value) { return static_cast<uint16_t>(value + 32768); }

bool Beyond(uint16_t a, uint16_t b, int32_t threshold) { return std::abs(a - b) > threshold; }

}  // namespace

SdlJoystickService::SdlJoystickService(QObject* parent) : QObject(parent) {}

SdlJoystickService::~SdlJoystickService() {
  for (int joystick = 0; joystick < 2; ++joystick) ReleaseCapture(joystick);
  if (started_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool SdlJoystickService::Started() {
  if (started_) return true;
  if (unavailable_) return false;
  // This program has its own ways to end; SDL must not take over SIGINT and SIGTERM. Nor may it
  // hold back readings while no SDL window has the focus: this program has no SDL windows.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
    unavailable_ = true;
    return false;
  }
  // Readings are taken from the devices' state at each tick; queued events would only pile up.
  SDL_JoystickEventState(SDL_IGNORE);
  started_ = true;
  return true;
}

std::optional<JoystickCaps> SdlJoystickService::DeviceCaps(int joystick) {
  if (!ValidJoystick(joystick) || !Started()) return std::nullopt;
  SDL_JoystickUpdate();
  if (joystick >= SDL_NumJoysticks()) return std::nullopt;
  SDL_Joystick* device = SDL_JoystickOpen(joystick);
  if (device == nullptr) return std::nullopt;
  JoystickCaps caps;
  if (SDL_JoystickNumAxes(device) <= AxisZ) caps.Zmax = 0;
  caps.NumButtons = SDL_JoystickNumButtons(device);
  caps.PeriodMin = PeriodMin;
  caps.PeriodMax = PeriodMax;
  SDL_JoystickClose(device);
  return caps;
}

bool SdlJoystickService::SetCapture(JoystickSink& sink, int joystick, int periodMs,
                                    bool changeOnly) {
  if (!ValidJoystick(joystick) || captures_[joystick] || !Started()) return false;
  // Devices plugged in since the last look are found here.
  SDL_JoystickUpdate();
  if (joystick >= SDL_NumJoysticks()) return false;
  SDL_Joystick* device = SDL_JoystickOpen(joystick);
  if (device == nullptr) return false;

  auto capture = std::make_unique<Capture>();
  capture->sink = &sink;
  capture->device = device;
  capture->changeOnly = changeOnly;
  capture->hasZ = SDL_JoystickNumAxes(device) > AxisZ;
  capture->last = Read(device, capture->hasZ);
  capture->serial = ++nextSerial_;
  capture->timer = new QTimer(this);
  capture->timer->setInterval(std::clamp(periodMs, PeriodMin, PeriodMax));
  connect(capture->timer, &QTimer::timeout, this, [this, joystick] { Tick(joystick); });
  capture->timer->start();
  captures_[joystick] = std::move(capture);
  return true;
}

void SdlJoystickService::ReleaseCapture(int joystick) {
  if (!ValidJoystick(joystick) || !captures_[joystick]) return;
  std::unique_ptr<Capture> capture = std::move(captures_[joystick]);
  capture->timer->stop();
  // The release may come from a handler that this very timer's tick is running.
  capture->timer->deleteLater();
  SDL_JoystickClose(capture->device);
}

void SdlJoystickService::SetThreshold(int joystick, int32_t threshold) {
  if (ValidJoystick(joystick)) thresholds_[joystick] = std::max(threshold, 0);
}

SdlJoystickService::Reading SdlJoystickService::Read(SDL_Joystick* device, bool hasZ) {
  Reading reading;
  reading.x = Unsigned(SDL_JoystickGetAxis(device, AxisX));
  reading.y = Unsigned(SDL_JoystickGetAxis(device, AxisY));
  reading.z = hasZ ? Unsigned(SDL_JoystickGetAxis(device, AxisZ)) : 0;
  const int buttons = std::min(SDL_JoystickNumButtons(device), ButtonBits);
  for (int i = 0; i < buttons; ++i) {
    if (SDL_JoystickGetButton(device, i) != 0) reading.buttons |= static_cast<uint16_t>(1u << i);
  }
  return reading;
}

void SdlJoystickService::Tick(int joystick) {
  // A handler that opens a modal window runs an event loop of its own, in which this timer
  // fires again; those ticks are skipped rather than delivered inside the handler.
  if (delivering_) return;
  SDL_JoystickUpdate();
  Capture* capture = captures_[joystick].get();
  if (capture == nullptr) return;
  if (!SDL_JoystickGetAttached(capture->device)) {
    // Unplugged: the capture ends; a later capture finds the device again once it is back.
    JoystickSink* const sink = capture->sink;
    ReleaseCapture(joystick);
    sink->CaptureLost();
    return;
  }
  const Reading now = Read(capture->device, capture->hasZ);
  const Reading before = capture->last;
  const int32_t threshold = thresholds_[joystick];
  const bool stick = !capture->changeOnly || Beyond(now.x, before.x, threshold) ||
                     Beyond(now.y, before.y, threshold);
  const bool z = capture->hasZ && (!capture->changeOnly || Beyond(now.z, before.z, threshold));
  const uint16_t changed = now.buttons ^ before.buttons;

  // Readings not delivered stay the reference, so a slow drift is delivered once it adds up.
  if (stick) {
    capture->last.x = now.x;
    capture->last.y = now.y;
  }
  if (z) capture->last.z = now.z;
  capture->last.buttons = now.buttons;

  JoystickSink* const sink = capture->sink;
  const uint64_t serial = capture->serial;
  delivering_ = true;
  // Each handler may end or restart this capture; the next notification goes out only while
  // the same capture still runs.
  const auto stillCaptured = [&] {
    return captures_[joystick] && captures_[joystick]->serial == serial;
  };
  if (stick) sink->StickMoved(now.x, now.y, now.buttons);
  if (z && stillCaptured()) sink->ZMoved(now.z, now.buttons);
  if (changed != 0 && stillCaptured()) sink->ButtonsChanged(changed, now.buttons, now.x, now.y);
  delivering_ = false;
}

}  // namespace morv
