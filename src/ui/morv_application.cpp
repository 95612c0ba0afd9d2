// The application: creates the program's twelve windows in their fixed order and owns them.
#include "ui/morv_application.h"

#include "engine/animation.h"
#include "engine/model.h"
#include "engine/renderer.h"
#include "ui/animation_console.h"
#include "ui/display_window.h"
#include "ui/edit_bezier_dialog.h"
#include "ui/main_window.h"
#include "ui/mechanics_console.h"
#include "ui/network_dialog.h"
#include "ui/new_bezier_dialog.h"
#include "ui/new_control_dialog.h"
#include "ui/new_joint_dialog.h"
#include "ui/owner_info_dialog.h"
#include "ui/password_dialog.h"
#include "ui/print_form.h"

namespace morv {

template <typename Window, typename... Args>
void TMorvApplication::Create(Window*& instance, Args&... args) {
  instance = new Window(args...);
  windows_.push_back(instance);
}

TMorvApplication::TMorvApplication(Prompts& prompts, JoystickService& joystick,
                                   const QString& commandLineFile) {
  CurrentModel = TMorvObject{};
  SceneObject = TMorvObject{};
  AnimationSet = TAnimationList{};

  // The main window is known by its instance name while its creation handler runs, before any
  // other window exists.
  Form1 = new TForm1(prompts, commandLineFile);
  windows_.push_back(Form1);
  Form1->FormCreate();
  if (Form1->QuitRequested()) return;

  Create(newcontrol);
  Create(newbezier, prompts);
  Create(newjoint, prompts);
  Create(anim, prompts);
  Create(editbez, prompts);
  Create(ownerinfo, prompts);
  Create(password, prompts);
  Create(phys, prompts);
  Create(PrintForm);
  Create(Display, prompts, joystick);
  Create(network);
}

TMorvApplication::~TMorvApplication() {
  // A render worker may still be drawing on the 3D view's picture.
  if (Form1 != nullptr) Form1->FinishRendering();
  // A run ended by a stop signal still shows its windows. Hiding one moves the focus, whose
  // handlers reach the main window, so all are hidden while every window is whole.
  for (QWidget* window : windows_) window->hide();
  TargetCanvas = nullptr;
  // Last created, first gone; each instance name is cleared before its window goes, so nothing
  // that runs while a window is destroyed reaches a window that is already gone.
  network = nullptr;
  Display = nullptr;
  PrintForm = nullptr;
  phys = nullptr;
  password = nullptr;
  ownerinfo = nullptr;
  editbez = nullptr;
  anim = nullptr;
  newjoint = nullptr;
  newbezier = nullptr;
  newcontrol = nullptr;
  Form1 = nullptr;
  for (auto window = windows_.rbegin(); window != windows_.rend(); ++window) delete *window;
}

bool TMorvApplication::QuitRequested() const { return MainWindow().QuitRequested(); }

TForm1& TMorvApplication::MainWindow() const { return *static_cast<TForm1*>(windows_.front()); }

}  // namespace morv
