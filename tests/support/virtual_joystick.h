// A joystick that exists only inside SDL: tests plug it in, move its axes and press its buttons.
#pragma once

#include <SDL.h>

namespace morv::test {

class VirtualJoystick {
 public:
  // Three axes (X, Y and a throttle) and four buttons, all at rest.
  VirtualJoystick() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    started_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (started_) Attach();
  }
  ~VirtualJoystick() {
    Detach();
    if (started_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  VirtualJoystick(const VirtualJoystick&) = delete;
  VirtualJoystick& operator=(const VirtualJoystick&) = delete;

  // The device index, or -1 when SDL could not make the stick.
  int Index() const { return device_ != nullptr ? index_ : -1; }

  void Attach() {
    index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 3, 4, 0);
    device_ = index_ >= 0 ? SDL_JoystickOpen(index_) : nullptr;
  }
  // Unplugs the stick.
  void Detach() {
    if (device_ == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(device_);
    SDL_JoystickClose(device_);
    device_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
  }

  // The new state is read at the service's next tick.
  void SetAxis(int axis, Sint16 value) { SDL_JoystickSetVirtualAxis(device_, axis, value); }
  void SetButton(int button, bool pressed) {
    SDL_JoystickSetVirtualButton(device_, button, pressed ? 1 : 0);
  }

 private:
  bool started_ = false;
  int index_ = -1;
  SDL_Joystick* device_ = nullptr;
};

}  // namespace morv::test
