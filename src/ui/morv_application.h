// The application: creates the program's twelve windows in their fixed order and owns them.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "input/joystick_service.h"
#include "platform/prompts.h"

namespace morv {

class TForm1;

class TMorvApplication {
 public:
  // A fresh program start: the shared model and animation set are emptied, then the windows are
  // created, the main window first. `commandLineFile` is the first command-line argument; the 3D
  // view turns with the first joystick of `joystick`.
  TMorvApplication(Prompts& prompts, JoystickService& joystick, const QString& commandLineFile);
  ~TMorvApplication();

  TMorvApplication(const TMorvApplication&) = delete;
  TMorvApplication& operator=(const TMorvApplication&) = delete;

  // The user declined the command-line file: the program ends before any window is shown, and
  // only the main window was created.
  bool QuitRequested() const;

  TForm1& MainWindow() const;

  // Every window, in the order of creation.
  const std::vector<QWidget*>& Windows() const { return windows_; }

 private:
  template <typename Window, typename... Args>
  void Create(Window*& instance, Args&... args);

  std::vector<QWidget*> windows_;
};

}  // namespace morv
